#include "help/ShowHelp.h"

#include "help/frmManual.h"
#include "ui/Globals.h"

#include <QPointer>

namespace help {

void ShowHelp(int topic, QWidget* parent) {
    Globals().HelpTopic = static_cast<qint16>(topic);
    // Built afresh for every opening, and gone once it is closed.
    QPointer<frmManual> window = new frmManual();
    window->ShowModal(parent);
    delete window.data();
}

} // namespace help
