#pragma once

class LobbyDoor;

// Removes the highlighted course from the Course Index after asking, then has the Lobby
// highlight the course that lay above it. Its training records stay: they keep their own copy
// of the course's details.
void DeleteHighlightedCourse(LobbyDoor& door);
