#include "platform/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

// Qt keeps override cursors on a stack, which makes nesting safe.
BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace platform
