#pragma once

// The three modeless windows follow one another: title -> Admin -> Lobby -> Admin ... Each
// subsystem shows the next window through these entry points, so the windows need not know
// each other's classes.
namespace flow {

void ShowAdminWindow(); // a fresh Admin window (signin/)
void ShowLobbyWindow(); // the Lobby for the signed-in user (lobby/)

} // namespace flow
