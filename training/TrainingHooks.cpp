#include "training/TrainingHooks.h"

#include <utility>

namespace traininghooks {

namespace {
OpenHelp& HelpHook() {
    static OpenHelp hook;
    return hook;
}
} // namespace

void SetOpenHelp(OpenHelp hook) {
    HelpHook() = std::move(hook);
}

void OpenHelpWindow(QWidget* over) {
    if (HelpHook())
        HelpHook()(over);
}

} // namespace traininghooks
