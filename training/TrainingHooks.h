#pragma once

#include <functional>

class QWidget;

// The training history window's help button (and F1) opens the help window, which is reached
// through this hook, set once at start by whoever provides it; while it is not set the button
// does nothing beyond setting the help topic.
namespace traininghooks {

using OpenHelp = std::function<void(QWidget* over)>; // the topic is Globals().HelpTopic

void SetOpenHelp(OpenHelp hook);

void OpenHelpWindow(QWidget* over);

} // namespace traininghooks
