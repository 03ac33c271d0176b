#pragma once

class frmLobby;

// Creates every control of the Lobby with its design-time look and place (positions in
// twips), the four pages of tabMain included. Behaviour is connected by the window itself.
void BuildLobbyControls(frmLobby& lobby);
