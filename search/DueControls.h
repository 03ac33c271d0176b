#pragma once

#include <array>

class FlexGrid;
class QLabel;
class QLineEdit;
class QWidget;
class ZovButton;

namespace search {

// The controls of the Lobby's "Who is Due" page.
struct DueControls {
    // 0 the date asked about, 1 the window in days, 2 organization, 3 course code or name
    std::array<QLineEdit*, 4> txtDue{};
    FlexGrid* gridDue = nullptr;
    QLabel* lblDueCount = nullptr; // how many are due, or why nobody can be
    ZovButton* cmdDueTrainingHistory = nullptr;
    ZovButton* cmdDuePrint = nullptr;
};

// Makes the controls on the page with their design-time look and place.
DueControls BuildDueControls(QWidget* page);

} // namespace search
