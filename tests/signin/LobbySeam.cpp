// Stands in for the Lobby in the sign-in tests: it records that the sign-in went on to the
// Lobby instead of opening it.
#include "LobbySeam.h"

#include "ui/WindowFlow.h"

namespace signintest {

int& LobbyShown() {
    static int shown = 0;
    return shown;
}

void UseLobbySeam() {
    flow::SetLobbyWindow([] { ++LobbyShown(); });
}

namespace {
// In place before any test runs.
[[maybe_unused]] const bool seamInPlace = (UseLobbySeam(), true);
} // namespace

} // namespace signintest
