#pragma once

#include <QString>
#include <QStringList>
#include <array>

class FlexGrid;
class Form;
class QRadioButton;
class ZovButton;

// The controls of the Name List page, made by the Lobby's layout under their design names.
struct NameControls {
    FlexGrid* gridName = nullptr;
    std::array<QRadioButton*, 4> optDisplay{}; // 1 active, 2 inactive, 3 both
    ZovButton* cmdAddName = nullptr;
    ZovButton* cmdEditName = nullptr;
    ZovButton* cmdDeleteName = nullptr;
    ZovButton* cmdTrainingHistory = nullptr;
    ZovButton* cmdPrintNameList = nullptr;
};

// gridName filled from Name.List for the display choice optDisplay.
//
// Columns: 0 the display name, 1 the organisation, and beyond the right edge 2 the person's
// identity (DateCreated as NameKeyText), 3 the sort key (last, middle, first name) and
// 4 RecNum, the record number in Name.List.
namespace namegrid {
enum Column { DisplayName = 0, Organization = 1, Key = 2, SortKey = 3, RecNum = 4 };
constexpr int LastShownCol = Organization;
} // namespace namegrid

// What to tell the user about an empty list, once the window is usable again.
struct NameNotice {
    QString title; // empty: nothing to tell
    QStringList lines;
};

// Rebuilds gridName and the display options from Name.List, `window` busy meanwhile and
// `filling` true. The first fill shows the active persons (if there are any) with the first
// one highlighted; later ones keep the user's choice unless it shows nobody, and the
// highlighted row where they can. A file problem is told at once; the notice of an empty
// list is returned for the caller to tell when its window is ready for it.
NameNotice FillNameGrid(const NameControls& c, Form& window, bool first, bool& filling);

// The caption of the selected display option ("Active Persons"); empty when none is.
QString DisplayChoiceCaption(const NameControls& c);

// A person's identity as the grid's column 2 holds it.
QString NameKeyText(double dateCreated);
