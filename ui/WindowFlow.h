#pragma once

#include <functional>

// The three modeless windows follow one another: title -> Admin -> Lobby -> Admin ... Each
// window shows the next through these hooks, so the windows need not know each other's
// classes nor their folders. Main fills them with the real windows; a test puts its own.
namespace flow {

using Opener = std::function<void()>;

void ShowAdminWindow(); // a fresh Admin window
void ShowLobbyWindow(); // the Lobby for the signed-in user

// An empty opener does nothing when called.
void SetAdminWindow(Opener open);
void SetLobbyWindow(Opener open);

} // namespace flow
