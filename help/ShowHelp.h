#pragma once

class QWidget;

namespace help {

// Opens the help window modally over `parent` on menu item `topic` (1 title window, 3 Admin
// window, 4, 5, 8 the Lobby's tabs, 6 course editor, 10 training history) and returns when
// it has been closed. The topic is left in Globals().HelpTopic.
void ShowHelp(int topic, QWidget* parent);

} // namespace help
