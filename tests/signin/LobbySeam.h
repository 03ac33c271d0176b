#pragma once

namespace signintest {
// How often flow::ShowLobbyWindow was called since the test program started.
int& LobbyShown();
} // namespace signintest
