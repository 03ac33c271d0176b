#include "training/TrainingHooks.h"

#include <utility>

namespace traininghooks {

namespace {
OpenHelp& HelpHook() {
    static OpenHelp hook;
    return hook;
}
PrintHistory& PrintHook() {
    static PrintHistory hook;
    return hook;
}
} // namespace

void SetOpenHelp(OpenHelp hook) {
    HelpHook() = std::move(hook);
}

void SetPrintHistory(PrintHistory hook) {
    PrintHook() = std::move(hook);
}

void OpenHelpWindow(QWidget* over) {
    if (HelpHook())
        HelpHook()(over);
}

void PrintTrainingHistory(const FlexGrid& rows, QWidget* over) {
    if (PrintHook())
        PrintHook()(rows, over);
}

} // namespace traininghooks
