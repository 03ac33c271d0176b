#include "help/ShowHelp.h"

#include "help/HelpPrint.h"
#include "help/frmManual.h"
#include "ui/Globals.h"

#include <QPointer>
#include <utility>

namespace help {

namespace {
TopicPrinter& Printer() {
    static TopicPrinter printer;
    return printer;
}
} // namespace

void SetTopicPrinter(TopicPrinter printer) {
    Printer() = std::move(printer);
}

const TopicPrinter& InstalledTopicPrinter() {
    return Printer();
}

void ShowHelp(int topic, QWidget* parent) {
    Globals().HelpTopic = static_cast<qint16>(topic);
    // Built afresh for every opening, and gone once it is closed.
    QPointer<frmManual> window = new frmManual();
    window->ShowModal(parent);
    delete window.data();
}

} // namespace help
