#pragma once

#include <optional>

class QWidget;

namespace help {

// The topics a window's help button opens on, by the number of the topic's text.
enum class HelpTopic {
    Overview = 300,              // the title window
    AdminWindow = 400,           // signing in, admin mode, the user log
    NameList = 500,              // the Lobby's Name List tab
    CourseIndex = 600,           // the Lobby's Course Index tab
    CourseCodeConventions = 700, // the course editor
    CourseCodeExample = 701,
    SearchAndSummary = 800, // the Lobby's Search & Summary tab
    TrainingHistory = 900,
    AboutMaker = 1000,
};

// Opens the help window modally over `parent` on `topic` and returns when it has been closed.
void ShowHelp(HelpTopic topic, QWidget* parent);

// Opens it on the topic last asked for, the Lobby's results page having none of its own;
// with none asked for yet the window opens showing no topic.
void ShowLastHelp(QWidget* parent);

// The topic last asked for; none before the first opening.
std::optional<HelpTopic> LastHelpTopic();

} // namespace help
