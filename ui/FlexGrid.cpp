#include "ui/FlexGrid.h"

#include "platform/Twips.h"
#include "ui/FlexGridModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <algorithm>
#include <functional>

namespace {

// A column without a heading to size it gets the width of about eight characters.
constexpr int DefaultColumnTwips = 960;

// The whole row is the selection; a focus frame around one of its cells would only
// suggest that the current column can be moved.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

// The table view inside the grid, held to rows: the user's keys and clicks move between rows
// only, never sideways, and there is nothing to scroll to horizontally.
class FlexGridView : public QTableView {
public:
    using QTableView::QTableView;

    bool suppressScroll = false;        // the program moves the current row: no scrolling
    std::function<void()> onGeometries; // the view has worked out its scroll ranges again
    std::function<void()> onDoubleClick;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const int rows = model()->rowCount();
        switch (action) {
        case MoveLeft:
        case MoveRight:
        case MoveNext:
        case MovePrevious:
            return currentIndex();
        case MoveHome:
            return rows > 0 ? model()->index(0, 0) : QModelIndex();
        case MoveEnd:
            return rows > 0 ? model()->index(rows - 1, 0) : QModelIndex();
        default:
            return QTableView::moveCursor(action, modifiers);
        }
    }

    // Any click or key selects the row it lands on; Ctrl cannot leave the grid without one.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent*) const override {
        return index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                               : QItemSelectionModel::NoUpdate;
    }

    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        if (!suppressScroll)
            QTableView::scrollTo(index, hint);
    }

    void updateGeometries() override {
        QTableView::updateGeometries();
        horizontalScrollBar()->setRange(0, 0);
        KeepTopRowWhole();
        if (onGeometries)
            onGeometries();
    }

    void scrollContentsBy(int dx, int dy) override {
        QTableView::scrollContentsBy(dx, dy);
        KeepTopRowWhole();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableView::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton && onDoubleClick)
            onDoubleClick();
    }

private:
    // Scrolled to the end, the view puts the last row against the bottom edge, which leaves
    // the top row half hidden under the heading. The grid keeps its top row whole instead and
    // leaves the space below the last row empty.
    void KeepTopRowWhole() {
        QHeaderView* rows = verticalHeader();
        const int top = verticalScrollBar()->value();
        if (top < 0 || top >= rows->count())
            return;
        const int whole = rows->sectionPosition(top);
        if (rows->offset() == whole)
            return;
        rows->setOffset(whole);
        viewport()->update();
    }
};

FlexGrid::FlexGrid(QWidget* parent)
    : QWidget(parent), model_(new FlexGridModel(this)), view_(new FlexGridView(this)) {
    colWidths_.assign(model_->Cols(), DefaultColumnTwips);
    QFont gridFont = font();
    gridFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                          QStringLiteral("DejaVu Sans")});
    gridFont.setPointSize(8);
    setFont(gridFont);

    // The highlighted row stays blue when the grid loses the focus.
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::white);
    colors.setColor(QPalette::Text, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colors.setColor(QPalette::Inactive, role, colors.color(QPalette::Active, role));
    setPalette(colors);

    setFocusProxy(view_);
    view_->setModel(model_);
    view_->setItemDelegate(new RowDelegate(view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideNone);
    view_->setCornerButtonEnabled(false);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* rowsHeader = view_->verticalHeader();
    rowsHeader->hide();
    rowsHeader->setMinimumSectionSize(0);
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* heading = view_->horizontalHeader();
    heading->setMinimumSectionSize(0);
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setStretchLastSection(false);
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);

    view_->viewport()->setMouseTracking(true);
    heading->viewport()->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    heading->viewport()->installEventFilter(this);

    view_->onGeometries = [this] { ApplyTopRow(); };
    view_->onDoubleClick = [this] { emit DblClick(); };
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                OnViewCurrentChanged(current.isValid() ? current.row() : -1);
            });
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, &FlexGrid::OnViewScrolled);
    // A reset forgets the view's column widths and selection.
    connect(model_, &QAbstractItemModel::modelReset, this, &FlexGrid::SyncView);
    connect(model_, &QAbstractItemModel::columnsInserted, this, &FlexGrid::ApplyColumnWidths);

    UpdateRowHeight();
    SyncView();
}

FlexGrid::~FlexGrid() {
    // QWidget's destructor deletes the view and the model after this one has run; what they
    // do on the way (working out geometries, dropping the selection) must not call back into
    // a grid that is no longer there.
    view_->onGeometries = nullptr;
    view_->onDoubleClick = nullptr;
    view_->viewport()->removeEventFilter(this);
    view_->horizontalHeader()->viewport()->removeEventFilter(this);
    disconnect(view_->selectionModel(), nullptr, this, nullptr);
    disconnect(view_->verticalScrollBar(), nullptr, this, nullptr);
    disconnect(model_, nullptr, this, nullptr);
}

// ---- Shape and contents ----

void FlexGrid::SetFormatString(const QString& format) {
    const QStringList fields = format.split(QLatin1Char('|'));
    SetCols(static_cast<int>(fields.size()));
    for (int col = 0; col < fields.size(); ++col) {
        QString heading = fields[col];
        Qt::Alignment alignment = Qt::AlignLeft;
        if (heading.startsWith(QLatin1Char('<'))) {
            heading.remove(0, 1);
        } else if (heading.startsWith(QLatin1Char('>'))) {
            alignment = Qt::AlignRight;
            heading.remove(0, 1);
        } else if (heading.startsWith(QLatin1Char('^'))) {
            alignment = Qt::AlignHCenter;
            heading.remove(0, 1);
        }
        model_->SetText(0, col, heading);
        model_->SetAlignment(col, alignment);
        colWidths_[col] = heading.isEmpty() ? DefaultColumnTwips : TwipsToShow(heading);
    }
    formatString_ = format;
    ApplyColumnWidths();
}

int FlexGrid::TwipsToShow(const QString& text) const {
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2;
    return platform::PixelsToTwips(fontMetrics().horizontalAdvance(text) + margin);
}

int FlexGrid::Rows() const {
    return model_->Rows();
}

void FlexGrid::SetRows(int rows) {
    {
        const QScopedValueRollback quiet(syncing_, true);
        model_->SetRows(rows);
        topRow_ = std::clamp(topRow_, 1, MaxTopRow());
    }
    if (row_ >= Rows())
        SetCurrent(Rows() - 1, col_);
    else
        ApplySelection();
    ApplyTopRow();
}

int FlexGrid::Cols() const {
    return model_->Cols();
}

void FlexGrid::SetCols(int cols) {
    {
        const QScopedValueRollback quiet(syncing_, true);
        colWidths_.resize(std::max(cols, 1), DefaultColumnTwips);
        model_->SetCols(cols);
    }
    colSel_ = std::min(colSel_, Cols() - 1);
    if (col_ >= Cols())
        SetCurrent(row_, Cols() - 1);
    ApplyColumnWidths();
}

void FlexGrid::AddItem(const QString& tabbedText) {
    const QScopedValueRollback quiet(syncing_, true);
    model_->AddItem(tabbedText);
}

void FlexGrid::AddItems(std::shared_ptr<const FlexGridSource> source, qint32 count) {
    const QScopedValueRollback quiet(syncing_, true);
    model_->AddItems(std::move(source), count);
}

QString FlexGrid::TextMatrix(int row, int col) const {
    return model_->Text(row, col);
}

void FlexGrid::SetTextMatrix(int row, int col, const QString& text) {
    model_->SetText(row, col, text);
}

void FlexGrid::Sort() {
    const QScopedValueRollback quiet(syncing_, true);
    model_->SortOnColumn(col_);
}

QColor FlexGrid::CellBackColor() const {
    return model_->BackColor(row_, col_);
}

void FlexGrid::SetCellBackColor(const QColor& color) {
    model_->SetBackColor(row_, col_, colSel_, color);
}

Qt::Alignment FlexGrid::ColAlignment(int col) const {
    return model_->Alignment(col);
}

// ---- Current cell and scrolling ----

void FlexGrid::SetRow(int row) {
    SetCurrent(std::clamp(row, 0, Rows() - 1), col_);
}

void FlexGrid::SetCol(int col) {
    col = std::clamp(col, 0, Cols() - 1);
    colSel_ = col;
    SetCurrent(row_, col);
}

void FlexGrid::SetColSel(int col) {
    colSel_ = std::clamp(col, 0, Cols() - 1);
}

void FlexGrid::SetCurrent(int row, int col) {
    if (row == row_ && col == col_)
        return;
    const bool rowMoved = row != row_;
    row_ = row;
    col_ = col;
    if (rowMoved)
        ApplySelection();
    emit RowColChange();
}

int FlexGrid::TopRow() const {
    return std::clamp(topRow_, 1, MaxTopRow());
}

void FlexGrid::SetTopRow(int row) {
    topRow_ = std::clamp(row, 1, MaxTopRow());
    ApplyTopRow();
}

void FlexGrid::OnViewCurrentChanged(int modelRow) {
    if (syncing_)
        return;
    const int row = modelRow + 1; // no current index: the heading row
    if (row != row_) {
        row_ = row;
        emit RowColChange();
    }
}

void FlexGrid::OnViewScrolled(int value) {
    // While hidden or deferred the view's ranges are stale; the grid's own top row holds.
    if (syncing_ || Deferred() || !view_->isVisible())
        return;
    topRow_ = value + 1;
}

// ---- Sizes ----

int FlexGrid::ColWidth(int col) const {
    return col >= 0 && col < Cols() ? colWidths_[col] : 0;
}

void FlexGrid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= Cols())
        return;
    colWidths_[col] = std::max(twips, 0);
    QHeaderView* heading = view_->horizontalHeader();
    if (col < heading->count())
        heading->resizeSection(col, ColumnPixels(col));
}

int FlexGrid::RowHeight(int row) const {
    Q_UNUSED(row); // all rows have one height
    return platform::PixelsToTwips(rowPixels_);
}

int FlexGrid::Height() const {
    return platform::PixelsToTwips(height());
}

void FlexGrid::SetHeight(int twips) {
    resize(width(), platform::Twips(twips));
}

int FlexGrid::RowPixels() const {
    return rowPixels_;
}

int FlexGrid::HeadingPixels() const {
    return rowPixels_;
}

int FlexGrid::ColumnPixels(int col) const {
    return platform::Twips(colWidths_[col]);
}

// The cell area as the view will lay it out at the grid's present size: inside the frame,
// below the heading, left of the vertical scroll bar when the rows need one.
int FlexGrid::ViewportHeight() const {
    return std::max(height() - 2 * view_->frameWidth() - HeadingPixels(), 0);
}

int FlexGrid::ViewportWidth() const {
    const bool needsScrollBar = (Rows() - 1) * RowPixels() > ViewportHeight();
    const int scrollBar = needsScrollBar ? view_->verticalScrollBar()->sizeHint().width() : 0;
    return std::max(width() - 2 * view_->frameWidth() - scrollBar, 0);
}

int FlexGrid::RowsInView() const {
    return std::max(ViewportHeight() / RowPixels(), 1);
}

// The view scrolls by whole rows and stops when the last row is fully in view.
int FlexGrid::MaxTopRow() const {
    return std::max(Rows() - RowsInView(), 1);
}

bool FlexGrid::ColIsVisible(int col) const {
    if (col < 0 || col >= Cols())
        return false;
    int left = -view_->horizontalHeader()->offset();
    for (int c = 0; c < col; ++c)
        left += ColumnPixels(c);
    const int width = ColumnPixels(col);
    return width > 0 && left < ViewportWidth() && left + width > 0;
}

bool FlexGrid::RowIsVisible(int row) const {
    if (row < 0 || row >= Rows())
        return false;
    if (row == 0)
        return true;
    const int y = (row - 1) * RowPixels() - ContentOffset();
    return y + RowPixels() > 0 && y < ViewportHeight();
}

// How far the data rows are scrolled up, in pixels: the top row always shows whole.
int FlexGrid::ContentOffset() const {
    return (TopRow() - 1) * RowPixels();
}

int FlexGrid::MouseRow() const {
    const int frame = view_->frameWidth();
    const int x = mousePos_.x() - frame;
    const int y = mousePos_.y() - frame;
    if (x < 0 || x >= ViewportWidth() || y < 0)
        return -1;
    if (y < HeadingPixels())
        return 0;
    const int cellsY = y - HeadingPixels();
    if (cellsY >= ViewportHeight())
        return -1;
    const int row = (cellsY + ContentOffset()) / RowPixels() + 1;
    return row < Rows() ? row : -1;
}

// ---- Painting and the view ----

bool FlexGrid::Deferred() const {
    return model_->Deferred();
}

void FlexGrid::SetRedraw(bool on) {
    if (on == redraw_)
        return;
    redraw_ = on;
    if (!on) {
        view_->setUpdatesEnabled(false);
        model_->SetDeferred(true);
        return;
    }
    {
        const QScopedValueRollback quiet(syncing_, true);
        model_->SetDeferred(false);
    }
    SyncView();
    view_->setUpdatesEnabled(true);
    view_->viewport()->update();
}

void FlexGrid::SetToolTipText(const QString& text) {
    toolTip_ = text;
    setToolTip(text);
}

void FlexGrid::SetTableName(const QString& name) {
    setAccessibleName(name);
    view_->setAccessibleName(name);
}

void FlexGrid::UpdateRowHeight() {
    rowPixels_ = fontMetrics().height() + 4;
    view_->verticalHeader()->setDefaultSectionSize(rowPixels_);
    view_->horizontalHeader()->setFixedHeight(HeadingPixels());
}

void FlexGrid::ApplyColumnWidths() {
    QHeaderView* heading = view_->horizontalHeader();
    const int count = std::min(heading->count(), Cols());
    for (int col = 0; col < count; ++col)
        heading->resizeSection(col, ColumnPixels(col));
}

void FlexGrid::ApplySelection() {
    if (Deferred())
        return;
    const QScopedValueRollback quiet(syncing_, true);
    const QScopedValueRollback still(view_->suppressScroll, true);
    QItemSelectionModel* selection = view_->selectionModel();
    if (row_ >= 1 && row_ <= model_->rowCount()) {
        selection->setCurrentIndex(model_->index(row_ - 1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selection->clearSelection();
        selection->clearCurrentIndex();
    }
}

void FlexGrid::ApplyTopRow() {
    if (Deferred())
        return;
    const QScopedValueRollback quiet(syncing_, true);
    view_->verticalScrollBar()->setValue(TopRow() - 1);
}

void FlexGrid::SyncView() {
    ApplyColumnWidths();
    ApplySelection();
    ApplyTopRow();
}

// ---- Events ----

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        mousePos_ = widget->mapTo(this, mouse->position().toPoint());
        emit MouseMove(mouse->buttons(), mouse->modifiers(), mousePos_);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        mousePos_ = widget->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseButtonDblClick:
        // Over the cells the view reports it once it has handled the click.
        if (widget != view_->viewport() &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit DblClick();
        break;
    case QEvent::ToolTip:
        return ShowToolTip(event);
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// The grid's tooltip applies over every cell and the heading alike; the view would otherwise
// look for one per cell and find none.
bool FlexGrid::ShowToolTip(QEvent* event) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (toolTip_.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), toolTip_, this);
    return true;
}

void FlexGrid::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateRowHeight();
        ApplyColumnWidths();
    }
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_->setGeometry(rect());
}
