#pragma once

#include <QWidget>
#include <array>

class frmLobby;

// Creates the Lobby's own controls with their design-time look and place (positions in
// twips): the top band and tabMain with its five empty pages, which are returned in tab order
// for the pages to build their controls on. Behaviour is connected by the window itself.
std::array<QWidget*, 5> BuildLobbyControls(frmLobby& lobby);
