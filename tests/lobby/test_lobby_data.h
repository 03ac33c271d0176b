#pragma once

#include "lobby/frmLobby.h"
#include "support/ListData.h"

#include <memory>

// A signed-in Lobby for the Lobby's tests, over the data files of listdata.
namespace lobbytest {

using namespace listdata;

// A Lobby shown (so its first activation has run) for the signed-in user.
std::unique_ptr<frmLobby> OpenLobby();

} // namespace lobbytest
