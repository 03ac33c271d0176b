#pragma once

#include <functional>

class FlexGrid;
class QWidget;

// The training history window's help button (and F1) and its print button open windows of
// other parts of the program: the help window and the training-history printout. They are
// reached through these two hooks, set once at start by whoever provides them; while a hook
// is not set its button does nothing beyond setting the help topic.
namespace traininghooks {

using OpenHelp = std::function<void(QWidget* over)>; // the topic is Globals().HelpTopic
using PrintHistory = std::function<void(const FlexGrid& rows, QWidget* over)>;

void SetOpenHelp(OpenHelp hook);
void SetPrintHistory(PrintHistory hook);

void OpenHelpWindow(QWidget* over);
void PrintTrainingHistory(const FlexGrid& rows, QWidget* over);

} // namespace traininghooks
