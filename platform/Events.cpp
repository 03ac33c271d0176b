#include "platform/Events.h"

#include <QCoreApplication>

namespace platform {

void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace platform
