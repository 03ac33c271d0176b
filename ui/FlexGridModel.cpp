#include "ui/FlexGridModel.h"

#include <algorithm>
#include <numeric>

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {
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
        return rows_[row - 1].Cell(col);
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

void FlexGridModel::Row::SetCell(int col, const QString& value) {
    cells[col] = {text.size(), value.size()};
    text += value;
}

void FlexGridModel::Row::SetCols(int cols) {
    const qsizetype old = cells.size();
    cells.resize(cols);
    for (qsizetype c = old; c < cols; ++c)
        cells[c] = CellSpan{};
    if (!backs.empty())
        backs.resize(cols);
}

FlexGridModel::Row FlexGridModel::EmptyRow() const {
    Row row;
    row.SetCols(cols_);
    return row;
}

void FlexGridModel::SetRows(int rows) {
    const int oldData = Rows() - 1;
    const int newData = std::max(rows, 1) - 1;
    if (newData == oldData)
        return;
    if (deferred_) {
        rows_.resize(newData, EmptyRow());
        shapeChanged_ = true;
        return;
    }
    if (newData < oldData) {
        beginRemoveRows({}, newData, oldData - 1);
        rows_.resize(newData);
        publishedRows_ = newData;
        endRemoveRows();
    } else {
        beginInsertRows({}, oldData, newData - 1);
        rows_.resize(newData, EmptyRow());
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
    for (Row& row : rows_)
        row.SetCols(cols);
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
    Row row = EmptyRow();
    row.text = tabbedText; // shared, not copied
    qsizetype start = 0;
    for (int col = 0; col < cols_; ++col) {
        const qsizetype tab = tabbedText.indexOf(QLatin1Char('\t'), start);
        const qsizetype end = tab < 0 ? tabbedText.size() : tab;
        row.cells[col] = {start, end - start};
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

QString FlexGridModel::Text(int row, int col) const {
    if (!ValidCell(row, col))
        return {};
    return row == 0 ? headings_[col] : rows_[row - 1].Cell(col);
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
    rows_[row - 1].SetCell(col, text);
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

QColor FlexGridModel::BackColor(int row, int col) const {
    if (!ValidCell(row, col) || row == 0)
        return {};
    const Row& r = rows_[row - 1];
    return r.backs.empty() ? QColor() : r.backs[col];
}

void FlexGridModel::SetBackColor(int row, int firstCol, int lastCol, const QColor& color) {
    if (firstCol > lastCol)
        std::swap(firstCol, lastCol);
    firstCol = std::max(firstCol, 0);
    lastCol = std::min(lastCol, cols_ - 1);
    if (row < 1 || row >= Rows() || firstCol > lastCol)
        return;
    Row& r = rows_[row - 1];
    if (r.backs.empty())
        r.backs.resize(cols_);
    std::fill(r.backs.begin() + firstCol, r.backs.begin() + lastCol + 1, color);
    if (deferred_)
        cellsChanged_ = true;
    else
        emit dataChanged(index(row - 1, firstCol), index(row - 1, lastCol), {Qt::BackgroundRole});
}

void FlexGridModel::SortOnColumn(int col) {
    if (col < 0 || col >= cols_ || rows_.size() < 2)
        return;
    // Fold each text once; comparing folded texts is then a plain ordinal comparison.
    std::vector<QString> keys;
    keys.reserve(rows_.size());
    for (const Row& row : rows_)
        keys.push_back(row.Cell(col).toCaseFolded());
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[a] < keys[b]; });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (int from : order)
        sorted.push_back(std::move(rows_[from]));
    rows_ = std::move(sorted);

    // The number of rows is unchanged: for the view it is a change of every cell.
    if (deferred_)
        cellsChanged_ = true;
    else if (publishedRows_ > 0)
        emit dataChanged(index(0, 0), index(publishedRows_ - 1, cols_ - 1));
}

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
