#pragma once

#include "courses/CourseFind.h"

#include <QObject>

class LobbyDoor;
struct ListRecord;

// The Course Index page of the Lobby: gridCourse filled from Course.Index, courses added,
// edited, removed and found, and the rules for the page's buttons. It reaches the Lobby only
// through its door.
class CoursePage : public QObject {
    Q_OBJECT

public:
    CoursePage(LobbyDoor& door, const CourseControls& controls);
    ~CoursePage() override;

    CourseFind& Find() { return find_; }

    // Rebuilds gridCourse from Course.Index: the first fill highlights the first course,
    // later ones keep the highlighted row where they can.
    void Fill();
    // The highlighted course: its record number and its identity (CourseKeyText).
    ListRecord Highlighted() const;
    // Highlights the course whose identity is `key`, scrolled to the top, when the list shows
    // it among two or more courses.
    void Reselect(const QString& key);

    // The page's part of the Lobby's button set-up; `namesListed`: the Name List shows
    // somebody. A find under way is ended first.
    void SetUpButtons(bool namesListed);
    // Ends a find under way, its buttons not yet set up again.
    void EndFind() { find_.End(); }
    // Focus when the page is chosen: the list, else Add Course.
    void TakeFocus();

    void cmdAddCourse_Click();
    void cmdEditCourse_Click();
    void cmdDeleteCourse_Click();
    void gridCourse_RowColChange();
    void gridCourse_MouseMove();
    void gridcourse_DblClick();

private:
    LobbyDoor& door_;
    CourseControls c_;
    CourseFind find_;
    bool filled_ = false; // Fill has run once
};
