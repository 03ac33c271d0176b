#pragma once

#include "print/ReportTable.h"
#include "signin/UserList.h"

#include <QList>
#include <QString>

class FlexGrid;

// The Admin window's two lists as tables, for saving them for a spreadsheet as the Lobby's
// lists are saved.
namespace signin {

// The user list as `grid` shows it: its three visible columns under their headings, the rows
// in the order shown, each with the identity of its user among `listed` (the users the grid
// was filled from, found by record number).
print::ReportTable UserListTable(const FlexGrid& grid, const QList<ListedUser>& listed);

// The user log as shown (`text`, one line per event): each line's date, time and what
// happened, in the order of the log. A line not in the log's own shape (one written by hand)
// is kept whole as the event.
print::ReportTable UserLogTable(const QString& text);

} // namespace signin
