#pragma once

#include <array>

class FlexGrid;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;
class ZovButton;

namespace search {

// The controls of the Lobby's "Search && Summary Options" and "Summary Results" pages under
// their design names. Arrays keep index 0 unused where the numbering starts at 1.
struct SearchControls {
    std::array<QRadioButton*, 3> optSearch{}; // 1 search, 2 annual summary
    std::array<QGroupBox*, 3> frame{};        // 1 search criteria, 2 summary year
    // 0 from, 1 to, 2 course code, 3 comments, 4 course name
    std::array<QLineEdit*, 5> txtMatch{};
    QGroupBox* frameMatch = nullptr;
    std::array<QRadioButton*, 3> optMatch{}; // 1 match, 2 do NOT match
    ZovButton* cmdMatch = nullptr;
    QLineEdit* txtSummaryYear = nullptr;
    QCheckBox* chkBelowRequired = nullptr;   // list only the persons below the required hours
    QCheckBox* chkWithoutTraining = nullptr; // list the persons without training at 0 hours
    ZovButton* cmdAnnualSummary = nullptr;
    QLabel* lblRequiredHours = nullptr; // the data set's required hours per year
    ZovButton* cmdRequiredHours = nullptr;
    FlexGrid* gridSummary = nullptr;
    QLabel* lblTotalHours = nullptr;
    QLabel* lblPersonCount = nullptr; // how many persons the results list
    ZovButton* cmdSummaryTrainingHistory = nullptr;
    ZovButton* cmdSummaryPrint = nullptr;
    ZovButton* cmdFinishedSummary = nullptr;
};

// Makes the controls on the options page and the results page with their design-time look
// and place.
SearchControls BuildSearchControls(QWidget* optionsPage, QWidget* resultsPage);

} // namespace search
