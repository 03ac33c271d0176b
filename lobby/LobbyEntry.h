#pragma once

namespace lobby {

// Shows the Lobby for the signed-in user; it deletes itself when closed.
void OpenLobbyWindow();

} // namespace lobby
