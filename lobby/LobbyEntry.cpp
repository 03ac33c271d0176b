#include "lobby/frmLobby.h"
#include "ui/WindowFlow.h"

namespace flow {

// The Lobby lives until the Admin button or the shutdown closes it; nobody else holds it.
void ShowLobbyWindow() {
    auto* lobby = new frmLobby();
    lobby->setAttribute(Qt::WA_DeleteOnClose);
    lobby->ShowModeless();
}

} // namespace flow
