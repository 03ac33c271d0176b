#pragma once

namespace signintest {
// How often the sign-in went on to the Lobby since the test program started.
int& LobbyShown();
// Puts the counting stand-in into the Lobby hook again; Main fills the hook with the real
// Lobby, so a test that starts the program calls this after Main.
void UseLobbySeam();
} // namespace signintest
