// Stands in for the Lobby in the sign-in tests: linked into the test program ahead of the
// library, it records that the sign-in went on to the Lobby.
#include "LobbySeam.h"

#include "ui/WindowFlow.h"

namespace signintest {
int& LobbyShown() {
    static int shown = 0;
    return shown;
}
} // namespace signintest

namespace flow {
void ShowLobbyWindow() {
    ++signintest::LobbyShown();
}
} // namespace flow
