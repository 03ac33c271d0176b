#pragma once

class FlexGrid;
class LobbyDoor;

// Removes the highlighted course from the Course Index after asking, then has the Lobby
// highlight the course that lay above it. Its training records stay: they keep their own copy
// of the course's details. `grid` is the Course Index's grid.
void DeleteHighlightedCourse(LobbyDoor& door, const FlexGrid& grid);
