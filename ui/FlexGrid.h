#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class FlexGridModel;
class FlexGridSource;
class FlexGridView;

// The table every list window shows: one heading row (row 0) over data rows 1 and up,
// addressed by row and column number, with sizes in twips.
//
// Selection is by whole rows: the current row is highlighted from edge to edge. Col and
// ColSel only say which cells a later colour or sort applies to; the user's clicks and keys
// move the current row, never the current column.
//
// Key columns are hidden by widening a visible column until they lie beyond the right edge.
// There is no horizontal scrolling, so they stay out of reach. ColIsVisible and RowIsVisible
// are worked out from the sizes alone, so they answer correctly while the grid is hidden or
// not yet laid out, which is when the windows ask.
class FlexGrid : public QWidget {
    Q_OBJECT

public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Column headings separated by "|"; a leading "<", ">" or "^" aligns the column (heading
    // and cells) left, right or centred and is not shown; no sign means left. Sets the column
    // count to the number of headings and each column's width to fit its heading.
    QString FormatString() const { return formatString_; }
    void SetFormatString(const QString& format);

    // Rows include the heading row: 1 means no data. Growing adds empty rows.
    int Rows() const;
    void SetRows(int rows);
    int Cols() const;
    void SetCols(int cols);

    // Appends a data row; tabs separate its cells from column 0 on.
    void AddItem(const QString& tabbedText);
    // Appends `count` data rows whose texts `source` gives when they are read or shown:
    // items 1 to `count`, with cells in the columns the grid has now.
    void AddItems(std::shared_ptr<const FlexGridSource> source, qint32 count);

    // Row 0 is the heading. Out-of-range cells read as empty and ignore writes.
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);

    // The current row (0: the heading, nothing highlighted). Setting it does not scroll.
    int Row() const { return row_; }
    void SetRow(int row);
    // Setting the current column also collapses the selection to it (ColSel = Col).
    int Col() const { return col_; }
    void SetCol(int col);
    int ColSel() const { return colSel_; }
    void SetColSel(int col);

    // The first data row fully in view; setting it scrolls (as far as the rows allow).
    int TopRow() const;
    void SetTopRow(int row);

    // Sorts the data rows on the current column as text, ignoring case, ascending; equal
    // texts keep their order.
    void Sort();

    // Applies to the cells from Col to ColSel of the current data row; reading gives the
    // colour of cell (Row, Col), invalid when it has none of its own.
    QColor CellBackColor() const;
    void SetCellBackColor(const QColor& color);

    Qt::Alignment ColAlignment(int col) const;

    // Sizes in twips.
    int ColWidth(int col) const;
    // The width, in twips, of a column that shows `text` whole (its heading's margins
    // included).
    int TwipsToShow(const QString& text) const;
    void SetColWidth(int col, int twips);
    int RowHeight(int row) const;
    int Height() const;
    void SetHeight(int twips);

    // Whether the column or row lies at least partly in view (the heading row always does).
    bool ColIsVisible(int col) const;
    bool RowIsVisible(int row) const;

    // While off, changes are kept but neither shown nor passed to the view one by one.
    bool Redraw() const { return redraw_; }
    void SetRedraw(bool on);

    // The row under the mouse pointer as of its last move: 0 over the heading, -1 below the
    // last row or off the cells.
    int MouseRow() const;

    QString ToolTipText() const { return toolTip_; }
    void SetToolTipText(const QString& text);

    // The name a screen reader gives the grid and the table in it, which takes the focus.
    void SetTableName(const QString& name);

    // The grid's own Visible setting, whether or not its window is showing.
    bool Visible() const { return !isHidden(); }

signals:
    // The current row or column changed, by the user or by the program.
    void RowColChange();
    void DblClick();
    // Position in pixels, relative to the grid.
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int RowPixels() const;
    int HeadingPixels() const;
    int ColumnPixels(int col) const;
    int ViewportWidth() const;
    int ViewportHeight() const;
    int RowsInView() const;
    int MaxTopRow() const;
    int ContentOffset() const;
    bool Deferred() const;

    void UpdateRowHeight();
    void ApplyColumnWidths();
    void ApplySelection();
    void ApplyTopRow();
    void SyncView();
    void OnViewCurrentChanged(int modelRow);
    void OnViewScrolled(int value);
    void SetCurrent(int row, int col);
    bool ShowToolTip(QEvent* event);

    FlexGridModel* model_;
    FlexGridView* view_;
    QString formatString_;
    std::vector<int> colWidths_; // twips, one per column
    int rowPixels_ = 16;         // every row, the heading included, has this height
    int row_ = 0;
    int col_ = 0;
    int colSel_ = 0;
    int topRow_ = 1;
    bool redraw_ = true;
    bool syncing_ = false; // the view is being brought in line with the grid's state
    QPoint mousePos_{-1, -1};
    QString toolTip_;
};
