#include "help/ShowHelp.h"

#include "help/HelpTopics.h"
#include "help/frmManual.h"

#include <QPointer>

namespace help {

namespace {

std::optional<HelpTopic>& LastTopic() {
    static std::optional<HelpTopic> topic;
    return topic;
}

void Open(int menuItem, QWidget* parent) {
    // Built afresh for every opening, and gone once it is closed.
    QPointer<frmManual> window = new frmManual(menuItem);
    window->ShowModal(parent);
    delete window.data();
}

} // namespace

void ShowHelp(HelpTopic topic, QWidget* parent) {
    LastTopic() = topic;
    Open(MenuItemOf(topic), parent);
}

void ShowLastHelp(QWidget* parent) {
    Open(LastTopic() ? MenuItemOf(*LastTopic()) : 0, parent);
}

std::optional<HelpTopic> LastHelpTopic() {
    return LastTopic();
}

} // namespace help
