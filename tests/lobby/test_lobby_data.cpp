#include "lobby/test_lobby_data.h"

#include "support/TestFolder.h"

namespace lobbytest {

std::unique_ptr<frmLobby> OpenLobby() {
    auto lobby = std::make_unique<frmLobby>(TestSession());
    lobby->show();
    return lobby;
}

} // namespace lobbytest
