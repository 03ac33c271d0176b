#pragma once

#include "forms/LobbyDoor.h"

// A page of the Lobby's tabs as the Lobby works it, whichever page it is: the Lobby fills
// it, sets its buttons up, asks for its highlighted record and hands it the focus when the
// user chooses its tab. Each page builds its own controls on the tab page it is given.
class LobbyPage {
public:
    virtual ~LobbyPage() = default;

    // Reads again what the page shows from its file.
    virtual void Fill() = 0;
    // The page's part of the Lobby's button set-up: by access level and list contents.
    virtual void SetUpButtons() = 0;
    // The highlighted record of the page's list; recNum 0 when none is.
    virtual ListRecord Highlighted() const = 0;
    // The page's tab was chosen.
    virtual void TakeFocus() = 0;
};
