#include "ui/FlexGridModel.h"

#include "ui/CaseBlindOrder.h"
#include "ui/FlexGridSource.h"

#include <QtEndian>
#include <algorithm>

namespace {

// Colourings that paint alike are kept once.
QByteArray BacksKey(const std::vector<QColor>& backs) {
    QByteArray key;
    key.reserve(static_cast<qsizetype>(backs.size()) * 9);
    for (const QColor& color : backs) {
        char bytes[9] = {};
        bytes[0] = static_cast<char>(color.spec());
        if (color.isValid())
            qToLittleEndian(color.rgba64().operator quint64(), bytes + 1);
        key.append(bytes, sizeof bytes);
    }
    return key;
}

} // namespace

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {
    ForgetRows();
    SetCols(2);
}

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : publishedRows_;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : publishedCols_;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    // While deferred the view may ask for rows that have gone; they read as empty.
    const int row = index.row() + 1;
    const int col = index.column();
    if (!ValidCell(row, col))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Text(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignments_[col] | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        const QColor color = BackColor(row, col);
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
        return {};
    }
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= cols_)
        return {};
    if (role == Qt::DisplayRole)
        return headings_[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignments_[section] | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FlexGridModel::ValidCell(int row, int col) const {
    return row >= 0 && row < Rows() && col >= 0 && col < cols_;
}

// ---- Cells ----

void FlexGridModel::Cells::SetCell(int col, const QString& value) {
    spans[col] = {text.size(), value.size()};
    text += value;
}

std::unique_ptr<FlexGridModel::Cells> FlexGridModel::NewCells() const {
    auto cells = std::make_unique<Cells>();
    ResizeCells(*cells);
    return cells;
}

void FlexGridModel::ResizeCells(Cells& cells) const {
    const qsizetype old = cells.spans.size();
    cells.spans.resize(cols_);
    for (qsizetype c = old; c < cols_; ++c)
        cells.spans[c] = CellSpan{};
}

void FlexGridModel::AppendCell(const Row& row, int col, QString& out) const {
    if (row.own) {
        const CellSpan span = row.own->spans[col];
        out.append(QStringView(row.own->text).mid(span.start, span.length));
    } else if (row.item > 0 && col < sourceCols_) {
        source_->AppendCell(row.item, col, out);
    }
}

FlexGridModel::Cells& FlexGridModel::OwnCells(Row& row) {
    if (!row.own) {
        row.own = NewCells();
        if (row.item > 0) {
            for (int col = 0; col < sourceCols_; ++col) {
                const qsizetype start = row.own->text.size();
                source_->AppendCell(row.item, col, row.own->text);
                row.own->spans[col] = {start, row.own->text.size() - start};
            }
            row.item = 0;
        }
    }
    return *row.own;
}

void FlexGridModel::OwnAllCells() {
    for (Row& row : rows_) {
        if (!row.own && row.item > 0)
            OwnCells(row);
    }
}

// ---- Shape ----

void FlexGridModel::ForgetRows() {
    source_.reset();
    sourceCols_ = 0;
    backs_.assign(1, {});
    backsIndex_.clear();
    lastBacksChange_ = {};
}

void FlexGridModel::SetRows(int rows) {
    const int oldData = Rows() - 1;
    const int newData = std::max(rows, 1) - 1;
    if (newData == oldData)
        return;
    if (deferred_) {
        rows_.resize(newData);
        if (rows_.empty())
            ForgetRows();
        shapeChanged_ = true;
        return;
    }
    if (newData < oldData) {
        beginRemoveRows({}, newData, oldData - 1);
        rows_.resize(newData);
        if (rows_.empty())
            ForgetRows();
        publishedRows_ = newData;
        endRemoveRows();
    } else {
        beginInsertRows({}, oldData, newData - 1);
        rows_.resize(newData);
        publishedRows_ = newData;
        endInsertRows();
    }
}

void FlexGridModel::SetCols(int cols) {
    cols = std::max(cols, 1);
    if (cols == cols_)
        return;
    const int oldCols = cols_;
    const bool tell = !deferred_;
    if (tell) {
        if (cols < oldCols)
            beginRemoveColumns({}, cols, oldCols - 1);
        else
            beginInsertColumns({}, oldCols, cols - 1);
    }
    cols_ = cols;
    if (tell)
        publishedCols_ = cols;
    headings_.resize(cols);
    alignments_.resize(cols, Qt::AlignLeft);
    for (Row& row : rows_) {
        if (row.own)
            ResizeCells(*row.own);
    }
    // Cells dropped by narrowing stay dropped when the grid widens again.
    sourceCols_ = std::min(sourceCols_, cols);
    backsIndex_.clear();
    for (std::size_t i = 1; i < backs_.size(); ++i) {
        backs_[i].resize(cols);
        backsIndex_.insert(BacksKey(backs_[i]), static_cast<int>(i));
    }
    lastBacksChange_ = {};
    if (tell) {
        if (cols < oldCols)
            endRemoveColumns();
        else
            endInsertColumns();
    } else {
        shapeChanged_ = true;
    }
}

void FlexGridModel::AddItem(const QString& tabbedText) {
    Row row;
    row.own = NewCells();
    row.own->text = tabbedText; // shared, not copied
    qsizetype start = 0;
    for (int col = 0; col < cols_; ++col) {
        const qsizetype tab = tabbedText.indexOf(QLatin1Char('\t'), start);
        const qsizetype end = tab < 0 ? tabbedText.size() : tab;
        row.own->spans[col] = {start, end - start};
        if (tab < 0)
            break;
        start = tab + 1;
    }
    if (deferred_) {
        rows_.push_back(std::move(row));
        shapeChanged_ = true;
        return;
    }
    const int at = static_cast<int>(rows_.size());
    beginInsertRows({}, at, at);
    rows_.push_back(std::move(row));
    publishedRows_ = at + 1;
    endInsertRows();
}

void FlexGridModel::AddItems(std::shared_ptr<const FlexGridSource> source, qint32 count) {
    if (!source || count < 1)
        return;
    // One source at a time, with one set of columns: rows of another take their texts along.
    if (source_ && (source_ != source || sourceCols_ != cols_))
        OwnAllCells();
    source_ = std::move(source);
    sourceCols_ = cols_;
    const int at = static_cast<int>(rows_.size());
    const auto add = [this, count] {
        rows_.reserve(rows_.size() + static_cast<std::size_t>(count));
        for (qint32 item = 1; item <= count; ++item)
            rows_.push_back(Row{nullptr, item, 0});
    };
    if (deferred_) {
        add();
        shapeChanged_ = true;
        return;
    }
    beginInsertRows({}, at, at + count - 1);
    add();
    publishedRows_ = static_cast<int>(rows_.size());
    endInsertRows();
}

// ---- Texts ----

QString FlexGridModel::Text(int row, int col) const {
    if (!ValidCell(row, col))
        return {};
    if (row == 0)
        return headings_[col];
    const Row& r = rows_[row - 1];
    if (r.own)
        return r.own->Cell(col);
    QString text;
    AppendCell(r, col, text);
    return text;
}

void FlexGridModel::SetText(int row, int col, const QString& text) {
    if (!ValidCell(row, col))
        return;
    if (row == 0) {
        headings_[col] = text;
        if (deferred_)
            cellsChanged_ = true;
        else
            emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    OwnCells(rows_[row - 1]).SetCell(col, text);
    if (deferred_) {
        cellsChanged_ = true;
    } else {
        const QModelIndex at = index(row - 1, col);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

Qt::Alignment FlexGridModel::Alignment(int col) const {
    return col >= 0 && col < cols_ ? alignments_[col] : Qt::AlignLeft;
}

void FlexGridModel::SetAlignment(int col, Qt::Alignment alignment) {
    if (col < 0 || col >= cols_)
        return;
    alignments_[col] = alignment;
    if (deferred_) {
        cellsChanged_ = true;
        return;
    }
    emit headerDataChanged(Qt::Horizontal, col, col);
    if (!rows_.empty())
        emit dataChanged(index(0, col), index(publishedRows_ - 1, col), {Qt::TextAlignmentRole});
}

// ---- Colours ----

QColor FlexGridModel::BackColor(int row, int col) const {
    if (!ValidCell(row, col) || row == 0)
        return {};
    const int backs = rows_[row - 1].backs;
    return backs == 0 ? QColor() : backs_[backs][col];
}

int FlexGridModel::BacksWith(int from, int firstCol, int lastCol, const QColor& color) {
    const BacksChange& last = lastBacksChange_;
    if (last.from == from && last.firstCol == firstCol && last.lastCol == lastCol &&
        last.color == color)
        return last.to;
    std::vector<QColor> backs =
        from == 0 ? std::vector<QColor>(cols_) : backs_[static_cast<std::size_t>(from)];
    std::fill(backs.begin() + firstCol, backs.begin() + lastCol + 1, color);
    const QByteArray key = BacksKey(backs);
    int to = backsIndex_.value(key, -1);
    if (to < 0) {
        to = static_cast<int>(backs_.size());
        backs_.push_back(std::move(backs));
        backsIndex_.insert(key, to);
    }
    lastBacksChange_ = {from, firstCol, lastCol, color, to};
    return to;
}

void FlexGridModel::SetBackColor(int row, int firstCol, int lastCol, const QColor& color) {
    if (firstCol > lastCol)
        std::swap(firstCol, lastCol);
    firstCol = std::max(firstCol, 0);
    lastCol = std::min(lastCol, cols_ - 1);
    if (row < 1 || row >= Rows() || firstCol > lastCol)
        return;
    Row& r = rows_[row - 1];
    r.backs = BacksWith(r.backs, firstCol, lastCol, color);
    if (deferred_)
        cellsChanged_ = true;
    else
        emit dataChanged(index(row - 1, firstCol), index(row - 1, lastCol), {Qt::BackgroundRole});
}

// ---- Sorting ----

void FlexGridModel::SortOnColumn(int col) {
    if (col < 0 || col >= cols_ || rows_.size() < 2)
        return;
    CaseBlindOrder keys;
    keys.Reserve(rows_.size(), static_cast<qsizetype>(rows_.size()) * 8);
    for (const Row& row : rows_)
        keys.AddWritten([&](QString& pool) { AppendCell(row, col, pool); });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (int from : keys.Order())
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(from)]));
    rows_ = std::move(sorted);

    // The number of rows is unchanged: for the view it is a change of every cell.
    if (deferred_)
        cellsChanged_ = true;
    else if (publishedRows_ > 0)
        emit dataChanged(index(0, 0), index(publishedRows_ - 1, cols_ - 1));
}

// ---- Deferral ----

void FlexGridModel::SetDeferred(bool deferred) {
    if (deferred == deferred_)
        return;
    deferred_ = deferred;
    if (!deferred_)
        Flush();
}

void FlexGridModel::Flush() {
    if (shapeChanged_) {
        beginResetModel();
        publishedRows_ = static_cast<int>(rows_.size());
        publishedCols_ = cols_;
        endResetModel();
    } else if (cellsChanged_) {
        emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
        if (publishedRows_ > 0)
            emit dataChanged(index(0, 0), index(publishedRows_ - 1, cols_ - 1));
    }
    shapeChanged_ = false;
    cellsChanged_ = false;
}
