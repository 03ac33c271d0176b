#pragma once

#include <QString>

class frmLobby;
struct ListRecord;

// The Name List page: gridName filled from Name.List for the display choice optDisplay.
//
// Columns: 0 the display name, 1 the organisation, and beyond the right edge 2 the person's
// identity (DateCreated as NameKeyText), 3 the sort key (last, middle, first name) and
// 4 RecNum, the record number in Name.List.
namespace namegrid {
enum Column { DisplayName = 0, Organization = 1, Key = 2, SortKey = 3, RecNum = 4 };
constexpr int LastShownCol = Organization;
} // namespace namegrid

// Rebuilds gridName and the display options from Name.List.
void UpdateNameGrid(frmLobby& lobby);

// The caption of the selected display option ("Active Persons"); empty when none is.
QString DisplayChoiceCaption(const frmLobby& lobby);

// A person's identity as the grid's column 2 holds it.
QString NameKeyText(double dateCreated);

// The highlighted person: record number and identity (NameKeyText).
ListRecord HighlightedPerson(const frmLobby& lobby);
// After a refill: highlights the person whose identity is `key` (see listgrid::Reselect).
void ReselectPerson(frmLobby& lobby, const QString& key);

// Opens the person editor to add a person or for the highlighted person; after a save the
// list is rebuilt with the saved person highlighted.
void OpenNameEditor(frmLobby& lobby, bool adding);
