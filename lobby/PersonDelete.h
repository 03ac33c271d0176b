#pragma once

class FlexGrid;
class LobbyDoor;

// cmdDeleteName: deletes the highlighted person of the Name List with all of that person's
// training records. First an offer to see (and print) the history, then a confirmation, then
// the two rewrites, the count of training records that went, and the list rebuilt with the
// person above highlighted. `names` is the Name List's grid.
void DeleteHighlightedPerson(LobbyDoor& door, const FlexGrid& names);
