#include "ui/WindowFlow.h"

namespace flow {

namespace {

struct Hooks {
    Opener admin;
    Opener lobby;
};

Hooks& Filled() {
    static Hooks hooks;
    return hooks;
}

void Run(const Opener& open) {
    if (open)
        open();
}

} // namespace

void ShowAdminWindow() {
    Run(Filled().admin);
}

void ShowLobbyWindow() {
    Run(Filled().lobby);
}

void SetAdminWindow(Opener open) {
    Filled().admin = std::move(open);
}

void SetLobbyWindow(Opener open) {
    Filled().lobby = std::move(open);
}

} // namespace flow
