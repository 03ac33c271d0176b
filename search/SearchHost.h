#pragma once

#include "forms/LobbyDoor.h"

#include <QString>

namespace search {

// The Lobby's door as its search and results pages see it: the door every page uses (the
// window, the Name List's persons, the flashing button) and the caption of the Name List's
// display choice, which the search options name. The Lobby's tabs are the Lobby's own: the
// pages tell it when results show and close (SearchPage's signals).
class SearchHost : public LobbyDoor {
public:
    // The caption of the Name List's display choice ("Active Persons").
    virtual QString DisplayChoice() const = 0;

protected:
    ~SearchHost() = default;
};

} // namespace search
