#pragma once

#include "courses/CourseFind.h"
#include "courses/CourseGrid.h"
#include "forms/LobbyPage.h"
#include "print/ReportTable.h"

#include <QObject>
#include <QString>
#include <memory>

class QWidget;

// A course of the Course Index as its row shows it.
struct CourseRow {
    qint32 recNum = 0; // in Course.Index
    QString code;
    QString name;
    QString providedBy;
    QString hours; // the cell text ("8.0")
};

// The Course Index page of the Lobby: gridCourse filled from Course.Index, courses added,
// edited, removed and found, the list printed, and the rules for the page's buttons. It
// builds its controls on the tab page it is given and reaches the Lobby only through its
// door; crediting a course is the Lobby's (CreditAsked).
class CoursePage : public QObject, public LobbyPage {
    Q_OBJECT

public:
    CoursePage(LobbyDoor& door, QWidget* page);
    ~CoursePage() override;

    const CourseControls& Controls() const { return c_; }
    CourseFind& Find() { return find_; }

    // Rebuilds gridCourse from Course.Index: the first fill highlights the first course,
    // later ones keep the highlighted row where they can.
    void Fill() override;
    // The highlighted course: its record number and its identity (CourseKeyText).
    ListRecord Highlighted() const override;
    // Highlights the course whose identity is `key`, scrolled to the top, when the list shows
    // it among two or more courses.
    void Reselect(const QString& key);
    // The list as it shows, for printing: each course's cells under the list's headings,
    // with the identity the list keeps.
    print::ReportTable Table() const;

    // The page's part of the Lobby's button set-up; Credit needs somebody on the Name List.
    // A find under way is ended first.
    void SetUpButtons() override;
    // Focus when the page is chosen: the list, else Add Course.
    void TakeFocus() override;

    void cmdAddCourse_Click();
    void cmdEditCourse_Click();
    void cmdDeleteCourse_Click();
    void gridCourse_RowColChange();
    void gridCourse_MouseMove();
    void gridcourse_DblClick();
    void cmdCreditTraining_Click();
    void cmdImportTraining_Click();

signals:
    // Credit was pressed for `course`, a course with hours.
    void CreditAsked(const CourseRow& course);

private:
    LobbyDoor& door_;
    CourseControls c_;
    CourseFind find_;
    bool filled_ = false;                                  // Fill has run once
    std::shared_ptr<const coursegrid::CourseRows> listed_; // what the last fill read
};
