// Stands in for the Lobby in the sign-in tests: it records that the sign-in went on to the
// Lobby, and the session it would have been given (in TestSession), instead of opening it.
#include "LobbySeam.h"

#include "support/TestFolder.h"
#include "ui/WindowFlow.h"

namespace signintest {

int& LobbyShown() {
    static int shown = 0;
    return shown;
}

void UseLobbySeam() {
    flow::SetLobbyWindow([](const Session& session) {
        ++LobbyShown();
        TestSession() = session;
    });
}

namespace {
// In place before any test runs.
[[maybe_unused]] const bool seamInPlace = (UseLobbySeam(), true);
} // namespace

} // namespace signintest
