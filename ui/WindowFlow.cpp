#include "ui/WindowFlow.h"

namespace flow {

namespace {

struct Hooks {
    Opener admin;
    SessionOpener lobby;
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

void ShowLobbyWindow(const Session& session) {
    if (Filled().lobby)
        Filled().lobby(session);
}

void SetAdminWindow(Opener open) {
    Filled().admin = std::move(open);
}

void SetLobbyWindow(SessionOpener open) {
    Filled().lobby = std::move(open);
}

} // namespace flow
