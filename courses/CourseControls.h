#pragma once

class FlexGrid;
class QWidget;
class ZovButton;

// The controls of the Course Index page under their design names.
struct CourseControls {
    FlexGrid* gridCourse = nullptr;
    ZovButton* cmdAddCourse = nullptr;
    ZovButton* cmdEditCourse = nullptr;
    ZovButton* cmdDeleteCourse = nullptr;
    ZovButton* cmdPrintCourseIndex = nullptr;
    ZovButton* cmdCreditTraining = nullptr;
    ZovButton* cmdSearch = nullptr;
    ZovButton* cmdImportTraining = nullptr;
    ZovButton* cmdQuitSearching = nullptr;
};

// Makes the controls on `page` with their design-time look and place.
CourseControls BuildCourseControls(QWidget* page);
