#pragma once

#include "ui/Session.h"

namespace lobby {

// Shows the Lobby for the user of `session`; it deletes itself when closed.
void OpenLobbyWindow(const Session& session);

} // namespace lobby
