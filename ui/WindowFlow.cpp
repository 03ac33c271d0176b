#include "ui/WindowFlow.h"

#include "store/ChangeLog.h"

namespace flow {

namespace {

struct Hooks {
    Opener admin;
    SessionOpener lobby;
    PersonOpener personChanges;
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
    store::changelog::SetActingUser(QString()); // signed out
    Run(Filled().admin);
}

void ShowLobbyWindow(const Session& session) {
    // The changes made from the Lobby are the signed-in user's (Change.Log).
    store::changelog::SetActingUser(session.userName);
    if (Filled().lobby)
        Filled().lobby(session);
}

void ShowPersonChanges(Form& owner, const QString& personIdentity, const QString& personName) {
    if (Filled().personChanges)
        Filled().personChanges(owner, personIdentity, personName);
}

void SetAdminWindow(Opener open) {
    Filled().admin = std::move(open);
}

void SetLobbyWindow(SessionOpener open) {
    Filled().lobby = std::move(open);
}

void SetPersonChangesWindow(PersonOpener open) {
    Filled().personChanges = std::move(open);
}

} // namespace flow
