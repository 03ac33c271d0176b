#include "lobby/LobbyEntry.h"

#include "lobby/frmLobby.h"

namespace lobby {

// The Lobby lives until the Admin button or the shutdown closes it; nobody else holds it.
void OpenLobbyWindow(const Session& session) {
    auto* window = new frmLobby(session);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->ShowModeless();
}

} // namespace lobby
