#pragma once

#include "courses/CourseControls.h"

#include <QString>

class LobbyDoor;

// Finding courses in the Course Index by any part of their code or name. The first find asks
// for the text and puts the page in find mode: "Find Next..." moves to the next match,
// wrapping at the end, and the flashing "Quit Searching" ends the mode. Meanwhile the other
// course buttons, the Admin button and the search page are out of reach.
class CourseFind {
public:
    CourseFind(LobbyDoor& door, const CourseControls& controls) : door_(door), c_(controls) {}

    // The text of the last find, offered again by the next one.
    QString SearchText;

    bool On() const { return on_; }

    void cmdSearch_Click();
    void cmdQuitSearching_Click();
    // Leaves find mode, the course buttons not yet set up again.
    void End();

private:
    void Begin();
    // Highlights the next row after the current one whose "code name" holds SearchText.
    // Returns false when no row does.
    bool FindNext();

    LobbyDoor& door_;
    CourseControls c_;
    bool on_ = false;
    int normalWidth_ = 0; // the find button's width before it widened to meet Quit Searching
};
