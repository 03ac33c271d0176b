#pragma once

class frmLobby;

// Removes the highlighted course from the Course Index after asking, then highlights the
// course that lay above it. Its training records stay: they keep their own copy of the
// course's details.
void DeleteHighlightedCourse(frmLobby& lobby);
