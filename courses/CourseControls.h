#pragma once

class FlexGrid;
class ZovButton;

// The controls of the Course Index page, made by the Lobby's layout under their design names.
struct CourseControls {
    FlexGrid* gridCourse = nullptr;
    ZovButton* cmdAddCourse = nullptr;
    ZovButton* cmdEditCourse = nullptr;
    ZovButton* cmdDeleteCourse = nullptr;
    ZovButton* cmdPrintCourseIndex = nullptr;
    ZovButton* cmdCreditTraining = nullptr;
    ZovButton* cmdSearch = nullptr;
    ZovButton* cmdQuitSearching = nullptr;
};
