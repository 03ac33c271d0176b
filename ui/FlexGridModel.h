#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QString>
#include <QVarLengthArray>
#include <memory>
#include <vector>

class FlexGridSource;

// The cells behind a FlexGrid. Rows are numbered as the grid numbers them: row 0 is the one
// heading row (shown by the view's header), rows 1 and up are data. The Qt side of the model
// exposes the data rows only, so model row i is grid row i + 1.
//
// Filling a grid of thousands of rows one insert at a time would make the view redo its
// bookkeeping for every row. While the model is deferred it changes its cells without telling
// the view, and the view keeps seeing the row count it last heard of; ending the deferral
// tells the view everything at once (one reset, or one data change when the shape stayed).
//
// A row holds its own texts (AddItem) or only its item number in the grid's source
// (AddItems), whose texts are read when asked for; writing a cell of such a row gives the
// row its own texts first.
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
    // `count` data rows for items 1 to `count` of `source`, their cells in the columns there
    // are now. Rows of an earlier source take their own texts first.
    void AddItems(std::shared_ptr<const FlexGridSource> source, qint32 count);

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
    // A row's own texts, kept in one string as AddItem receives them, with where each cell
    // lies in it: one allocation a row instead of one a cell.
    struct Cells {
        QString text;
        QVarLengthArray<CellSpan, 8> spans; // Cols() entries

        QString Cell(int col) const { return text.mid(spans[col].start, spans[col].length); }
        void SetCell(int col, const QString& value); // appended; the old text is left unused
    };
    struct Row {
        std::unique_ptr<Cells> own; // null: the cells are with the source, or empty
        qint32 item = 0;            // the row's item in source_ while `own` is null; 0: none
        int backs = 0;              // its colours: an index into backs_, 0 for none
    };

    bool ValidCell(int row, int col) const;
    std::unique_ptr<Cells> NewCells() const;
    void AppendCell(const Row& row, int col, QString& out) const;
    Cells& OwnCells(Row& row);
    void OwnAllCells();
    void ResizeCells(Cells& cells) const;
    int BacksWith(int from, int firstCol, int lastCol, const QColor& color);
    void ForgetRows();
    void Flush();

    std::vector<Row> rows_;
    std::shared_ptr<const FlexGridSource> source_;
    int sourceCols_ = 0; // columns the source's rows have cells in
    // The distinct colourings of rows, Cols() colours each; 0 is the row without colours.
    // Shading every second row of thousands then costs one colouring, not thousands.
    std::vector<std::vector<QColor>> backs_;
    QHash<QByteArray, int> backsIndex_;
    // The last change of colouring worked out, for the next row coloured alike.
    struct BacksChange {
        int from = -1;
        int firstCol = 0;
        int lastCol = 0;
        QColor color;
        int to = 0;
    } lastBacksChange_;
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
