#pragma once

#include <QString>
#include <functional>
#include <vector>

class FlexGrid;
class ZovButton;

// The steps every list grid goes through when it is filled: emptied and hidden,
// rows added with redrawing suspended, sorted on a hidden key, every second row shaded, shown
// and widened until the key columns lie beyond its right edge, then a row highlighted.
namespace listgrid {

// Data rows, the heading not counted.
int DataRows(const FlexGrid& grid);

// Hides the grid, suspends its redrawing, keeps only the heading row, sets the columns from
// `format` and makes the grid `rowsInView` rows high. The heading row becomes current.
void BeginFill(FlexGrid& grid, const QString& format, int columns, int rowsInView);

// Sorts the data rows on `keyCol` as text, ignoring case, when there are two or more.
void SortOn(FlexGrid& grid, int keyCol);

// Every even-numbered data row gets the light grey background in columns 0 to `lastCol`.
void ShadeEvenRows(FlexGrid& grid, int lastCol);

// Shows the grid, resumes redrawing and widens `widenCol` 15 twips at a time until
// `firstHiddenCol` is out of view.
void ShowAndWiden(FlexGrid& grid, int widenCol, int firstHiddenCol);

// Makes `row` current with columns 0 to `lastCol` selected; `toTop` also scrolls it to the
// top of the view.
void SelectRow(FlexGrid& grid, int row, int lastCol, bool toTop);

// A fill starts on the heading row; a grid with data must end with one of its rows
// highlighted, since the buttons beside it act on the highlighted row.
void EnsureCurrentRow(FlexGrid& grid, int lastCol);

// The first data row whose cell in `col` satisfies `matches`; 0 when there is none.
int FindRow(const FlexGrid& grid, int col, const std::function<bool(const QString&)>& matches);

// After a refill: highlights the row whose `keyCol` holds `key`, scrolled to the top, when
// the grid has two or more rows (a single row is highlighted already).
void Reselect(FlexGrid& grid, int keyCol, int lastCol, const QString& key);

// The integer value of the cell (`RecNum` columns); 0 for a heading or an empty cell.
qint32 CellNumber(const FlexGrid& grid, int row, int col);
// The numbers of `recNumCol` from the first data row to the last: which record each row
// shows, in the order the grid's sort left them.
std::vector<qint32> ShownNumbers(const FlexGrid& grid, int recNumCol);

// " Double-click to view/edit this <what> " over a data row while `editButton` shows; "/edit"
// from Read/Edit up.
void ShowEditToolTip(FlexGrid& grid, const ZovButton* editButton, const QString& what,
                     bool canEdit);

} // namespace listgrid
