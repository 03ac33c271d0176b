#include "lobby/test_lobby_data.h"

namespace lobbytest {

std::unique_ptr<frmLobby> OpenLobby() {
    auto lobby = std::make_unique<frmLobby>();
    lobby->show();
    return lobby;
}

} // namespace lobbytest
