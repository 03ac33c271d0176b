#pragma once

#include "ui/Session.h"

#include <functional>

// The three modeless windows follow one another: title -> Admin -> Lobby -> Admin ... Each
// window shows the next through these hooks, so the windows need not know each other's
// classes nor their folders. Main fills them with the real windows; a test puts its own. The
// Lobby is given the session of the user who signed in; the Admin window starts with nobody.
namespace flow {

using Opener = std::function<void()>;
using SessionOpener = std::function<void(const Session&)>;

void ShowAdminWindow();                       // a fresh Admin window
void ShowLobbyWindow(const Session& session); // the Lobby for the signed-in user

// An empty opener does nothing when called.
void SetAdminWindow(Opener open);
void SetLobbyWindow(SessionOpener open);

} // namespace flow
