#include "forms/ListGrid.h"

#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QColor>
#include <QSignalBlocker>
#include <algorithm>

namespace listgrid {

namespace {
// Each step of widening a column, in twips.
constexpr int WidenStep = 15;
} // namespace

int DataRows(const FlexGrid& grid) {
    return grid.Rows() - 1;
}

void BeginFill(FlexGrid& grid, const QString& format, int columns, int rowsInView) {
    grid.hide();
    // Suspended first, so that dropping the old rows does not tell the view of each one.
    grid.SetRedraw(false);
    grid.SetRows(1);
    grid.SetCols(columns);
    grid.SetHeight(rowsInView * grid.RowHeight(0));
    grid.SetFormatString(format);
    grid.SetRow(0);
    grid.SetCol(0);
}

void SortOn(FlexGrid& grid, int keyCol) {
    if (DataRows(grid) < 2)
        return;
    grid.SetCol(keyCol);
    grid.Sort();
    grid.SetCol(0);
}

void ShadeEvenRows(FlexGrid& grid, int lastCol) {
    // Walking the current row over the grid is how cells are coloured; nobody needs to hear
    // about each step.
    const QSignalBlocker quiet(grid);
    const int current = grid.Row();
    const QColor shade(240, 240, 240);
    for (int row = 2; row < grid.Rows(); row += 2) {
        grid.SetRow(row);
        grid.SetCol(0);
        grid.SetColSel(lastCol);
        grid.SetCellBackColor(shade);
    }
    grid.SetRow(current);
    grid.SetCol(0);
}

void ShowAndWiden(FlexGrid& grid, int widenCol, int firstHiddenCol) {
    grid.show();
    grid.SetRedraw(true);
    // A grid that never scrolls the column out of view (not laid out yet) stops somewhere.
    while (grid.ColIsVisible(firstHiddenCol) && grid.ColWidth(widenCol) < 100000)
        grid.SetColWidth(widenCol, grid.ColWidth(widenCol) + WidenStep);
}

void SelectRow(FlexGrid& grid, int row, int lastCol, bool toTop) {
    grid.SetRow(row);
    grid.SetCol(0);
    grid.SetColSel(lastCol);
    if (toTop)
        grid.SetTopRow(row);
}

void EnsureCurrentRow(FlexGrid& grid, int lastCol) {
    if (DataRows(grid) > 0 && grid.Row() < 1)
        SelectRow(grid, 1, lastCol, false);
}

int FindRow(const FlexGrid& grid, int col, const std::function<bool(const QString&)>& matches) {
    for (int row = 1; row < grid.Rows(); ++row) {
        if (matches(grid.TextMatrix(row, col)))
            return row;
    }
    return 0;
}

void Reselect(FlexGrid& grid, int keyCol, int lastCol, const QString& key) {
    if (key.isEmpty() || DataRows(grid) < 2)
        return;
    const int row = FindRow(grid, keyCol, [&key](const QString& cell) { return cell == key; });
    if (row > 0)
        SelectRow(grid, row, lastCol, true);
}

qint32 CellNumber(const FlexGrid& grid, int row, int col) {
    if (row < 1)
        return 0;
    return grid.TextMatrix(row, col).trimmed().toInt();
}

std::vector<qint32> ShownNumbers(const FlexGrid& grid, int recNumCol) {
    std::vector<qint32> numbers;
    numbers.reserve(std::size_t(std::max(DataRows(grid), 0)));
    for (int row = 1; row < grid.Rows(); ++row)
        numbers.push_back(CellNumber(grid, row, recNumCol));
    return numbers;
}

void ShowEditToolTip(FlexGrid& grid, const ZovButton* editButton, const QString& what,
                     bool canEdit) {
    QString tip;
    if (!editButton->isHidden() && grid.MouseRow() >= 1) {
        tip = QStringLiteral(" Double-click to view") +
              (canEdit ? QStringLiteral("/edit") : QString()) + QStringLiteral(" this ") + what +
              QStringLiteral(" ");
    }
    grid.SetToolTipText(tip);
}

} // namespace listgrid
