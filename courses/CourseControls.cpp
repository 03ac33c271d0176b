#include "courses/CourseControls.h"

#include "forms/PageControls.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

CourseControls BuildCourseControls(QWidget* page) {
    using forms::MakePageButton;
    using Kind = forms::PageButton;
    CourseControls c;
    c.gridCourse = forms::MakePageGrid(page, 120, 120, 10320);
    c.gridCourse->SetTableName(QStringLiteral("Course Index"));

    c.cmdAddCourse = MakePageButton(page, Kind::Record, 120, 4680, 2000, 510);
    c.cmdEditCourse = MakePageButton(page, Kind::Record, 2280, 4680, 2000, 510);
    c.cmdDeleteCourse = MakePageButton(page, Kind::Remove, 4440, 4680, 2000, 510);
    c.cmdPrintCourseIndex = MakePageButton(page, Kind::Print, 7700, 4635, 2740, 600);

    c.cmdCreditTraining = MakePageButton(page, Kind::Proceed, 120, 5400, 4320, 720);
    // Quit Searching shows only during a find, in the place of the import button; the find
    // button then widens to meet it.
    c.cmdSearch = MakePageButton(page, Kind::Proceed, 4680, 5400, 3520, 720);
    c.cmdImportTraining = MakePageButton(page, Kind::Record, 8440, 5400, 2000, 720);
    c.cmdQuitSearching = MakePageButton(page, Kind::Flash, 8440, 5400, 2000, 720);
    c.cmdQuitSearching->hide();
    return c;
}
