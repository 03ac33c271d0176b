#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QVarLengthArray>
#include <vector>

// The cells behind a FlexGrid. Rows are numbered as the grid numbers them: row 0 is the one
// heading row (shown by the view's header), rows 1 and up are data. The Qt side of the model
// exposes the data rows only, so model row i is grid row i + 1.
//
// Filling a grid of thousands of rows one insert at a time would make the view redo its
// bookkeeping for every row. While the model is deferred it changes its cells without telling
// the view, and the view keeps seeing the row count it last heard of; ending the deferral
// tells the view everything at once (one reset, or one data change when the shape stayed).
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FlexGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Grid rows, heading included: always at least 1.
    int Rows() const { return static_cast<int>(rows_.size()) + 1; }
    void SetRows(int rows);
    int Cols() const { return cols_; }
    void SetCols(int cols);

    // One data row from a text whose tab characters separate the cells; missing cells stay
    // empty, cells beyond the last column are dropped.
    void AddItem(const QString& tabbedText);

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);

    Qt::Alignment Alignment(int col) const;
    void SetAlignment(int col, Qt::Alignment alignment);

    // An invalid colour means the grid's own background.
    QColor BackColor(int row, int col) const;
    void SetBackColor(int row, int firstCol, int lastCol, const QColor& color);

    // Sorts the data rows on one column as text, ignoring case, ascending; rows with equal
    // texts keep their order. Colours travel with their rows.
    void SortOnColumn(int col);

    bool Deferred() const { return deferred_; }
    void SetDeferred(bool deferred);

private:
    // Where one cell's text lies in its row's text.
    struct CellSpan {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    // A row keeps its cells' texts in one string, as AddItem receives them, and where each
    // cell lies in it: one allocation a row instead of one a cell, which is most of the cost
    // of filling and emptying a grid of thousands of rows.
    struct Row {
        QString text;
        QVarLengthArray<CellSpan, 8> cells; // Cols() entries
        std::vector<QColor> backs;          // empty until a colour is set, then Cols() entries

        QString Cell(int col) const { return text.mid(cells[col].start, cells[col].length); }
        void SetCell(int col, const QString& value); // appended; the old text is left unused
        void SetCols(int cols);
    };

    bool ValidCell(int row, int col) const;
    Row EmptyRow() const;
    void Flush();

    std::vector<Row> rows_;
    std::vector<QString> headings_;
    std::vector<Qt::Alignment> alignments_;
    int cols_ = 0;
    bool deferred_ = false;
    // What the view was last told, and what changed since, while deferred.
    int publishedRows_ = 0;
    int publishedCols_ = 0;
    bool shapeChanged_ = false;
    bool cellsChanged_ = false;
};
