#include "platform/Twips.h"
#include "ui/FlexGrid.h"
#include "ui/FlexGridSource.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <memory>

namespace {

const QColor Shade(240, 240, 240);

QTableView* ViewOf(FlexGrid& grid) {
    return grid.findChild<QTableView*>();
}

// A course list as the windows build it: heading row, tabbed rows, key columns 4 and 5.
void FillCourses(FlexGrid& grid, int count) {
    grid.SetRows(1);
    grid.SetFormatString("<Course Code|<Name of Course|<Provided by|>Hours|ID|RecNum");
    for (int n = 1; n <= count; ++n)
        grid.AddItem(QString("C-%1\tCourse %1\tAcademy\t%2.0\t%3\t%1")
                         .arg(n, 4, 10, QChar('0'))
                         .arg(n % 24)
                         .arg(40000 + n));
}

// Pushes column `hidden` out of view the way the windows do.
int Widen(FlexGrid& grid, int widened, int hidden) {
    int steps = 0;
    while (grid.ColIsVisible(hidden)) {
        grid.SetColWidth(widened, grid.ColWidth(widened) + 15);
        ++steps;
    }
    return steps;
}

QPoint RowCentre(FlexGrid& grid, int row) {
    QTableView* view = ViewOf(grid);
    return view->visualRect(view->model()->index(row - 1, 0)).center();
}

// Whether the view paints any part of the row.
bool ShownByView(FlexGrid& grid, int row) {
    QTableView* view = ViewOf(grid);
    const QRect cell = view->visualRect(view->model()->index(row - 1, 0));
    return cell.intersects(view->viewport()->rect());
}

void SendMouseMove(QWidget* target, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), target->mapToGlobal(QPointF(pos)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

// Items "<letter><n>" in column 0 and "cell <n>.<col>" in the others; counts what it is asked.
class Letters : public FlexGridSource {
public:
    explicit Letters(QString letters, int cols = 3) : letters_(std::move(letters)), cols_(cols) {}
    void AppendCell(qint32 item, int col, QString& out) const override {
        ++asked;
        if (col >= cols_)
            return;
        if (col == 0)
            out += letters_.at((item - 1) % letters_.size()) + QString::number(item);
        else
            out += QStringLiteral("cell %1.%2").arg(item).arg(col);
    }
    mutable int asked = 0;

private:
    QString letters_;
    int cols_;
};

QStringList Column(const FlexGrid& grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid.Rows(); ++row)
        texts << grid.TextMatrix(row, col);
    return texts;
}

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT

private slots:
    void formatStringSetsHeadingsAndAlignment();
    void rowsAndAddItem();
    void sortIgnoresCaseAndKeepsEqualRowsInOrder();
    void sortOfHeadingOnlyGridChangesNothing();
    void sourceRowsReadTheirCellsWhenAsked();
    void sourceRowsSortAndColourAlongsideOwnRows();
    void writingASourceRowKeepsItsOtherCells();
    void columnsDroppedFromSourceRowsStayDropped();
    void aNewSourceLeavesEarlierRowsTheirTexts();
    void emptiedGridLetsGoOfItsSource();
    void cellBackColorCoversColToColSelOfCurrentRow();
    void widenedColumnPushesKeyColumnsOutOfView();
    void widenedColumnAgreesWithTheShownView();
    void topRowScrollsAndRowIsVisibleFollows();
    void topRowSetWhileHiddenHoldsWhenShown();
    void clicksAndKeysMoveTheRowAndRaiseRowColChange();
    void programChangesRaiseRowColChangeOnce();
    void doubleClickSelectsRowAndRaisesDblClick();
    void mouseRowFollowsThePointer();
    void redrawOffKeepsChangesFromTheViewUntilOn();
    void toolTipShowsOverCells();
    void snapshotLooksLikeAList();
};

void TestFlexGrid::formatStringSetsHeadingsAndAlignment() {
    FlexGrid grid;
    grid.SetFormatString("|Organization|^DateCreated|NameSort|RecNum");
    QCOMPARE(grid.Cols(), 5);
    QCOMPARE(grid.TextMatrix(0, 0), QString());
    QCOMPARE(grid.TextMatrix(0, 1), QString("Organization"));
    QCOMPARE(grid.TextMatrix(0, 2), QString("DateCreated"));
    QCOMPARE(grid.ColAlignment(0), Qt::AlignLeft);
    QCOMPARE(grid.ColAlignment(2), Qt::AlignHCenter);
    QCOMPARE(grid.FormatString(), QString("|Organization|^DateCreated|NameSort|RecNum"));

    // Only the one leading sign goes; blanks around the heading are part of it.
    grid.SetFormatString("<List of Names|> Annual Training Hours|DateCreated|SortName|RecNum");
    QCOMPARE(grid.TextMatrix(0, 1), QString(" Annual Training Hours"));
    QCOMPARE(grid.ColAlignment(0), Qt::AlignLeft);
    QCOMPARE(grid.ColAlignment(1), Qt::AlignRight);
    grid.SetFormatString("<Course Date |>Hours |Comments");
    QCOMPARE(grid.Cols(), 3);
    QCOMPARE(grid.TextMatrix(0, 0), QString("Course Date "));
    QCOMPARE(grid.TextMatrix(0, 1), QString("Hours "));

    // The view shows the heading and aligns heading and cells alike.
    grid.AddItem("01/02/2025\t12.5\tok");
    QAbstractItemModel* model = ViewOf(grid)->model();
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Hours "));
    const auto cellAlign = model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    QVERIFY(cellAlign & Qt::AlignRight);
    const auto headAlign =
        model->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
    QVERIFY(headAlign & Qt::AlignRight);

    // Each column is made wide enough for its heading.
    QVERIFY(grid.ColWidth(0) > grid.ColWidth(1));
    QVERIFY(platform::Twips(grid.ColWidth(0)) >=
            grid.fontMetrics().horizontalAdvance("Course Date "));
}

void TestFlexGrid::rowsAndAddItem() {
    FlexGrid grid;
    grid.SetFormatString("<A|<B|<C");
    QCOMPARE(grid.Rows(), 1);
    grid.AddItem("a1\tb1\tc1");
    grid.AddItem("a2");                // fewer cells than columns
    grid.AddItem("a3\tb3\tc3\textra"); // more cells than columns
    grid.AddItem("\t\tc4");
    QCOMPARE(grid.Rows(), 5);
    QCOMPARE(grid.TextMatrix(1, 2), QString("c1"));
    QCOMPARE(grid.TextMatrix(2, 0), QString("a2"));
    QCOMPARE(grid.TextMatrix(2, 1), QString());
    QCOMPARE(grid.TextMatrix(3, 2), QString("c3"));
    QCOMPARE(grid.TextMatrix(4, 0), QString());
    QCOMPARE(grid.TextMatrix(4, 2), QString("c4"));
    QCOMPARE(grid.TextMatrix(9, 0), QString()); // out of range reads empty

    grid.SetTextMatrix(2, 1, "b2");
    QCOMPARE(grid.TextMatrix(2, 1), QString("b2"));
    // A cell rewritten in the middle of a row leaves its neighbours as they were.
    grid.SetTextMatrix(1, 1, "middle");
    grid.SetTextMatrix(1, 1, "mid");
    QCOMPARE(grid.TextMatrix(1, 0), QString("a1"));
    QCOMPARE(grid.TextMatrix(1, 1), QString("mid"));
    QCOMPARE(grid.TextMatrix(1, 2), QString("c1"));
    grid.SetTextMatrix(0, 0, "List of all active persons");
    QCOMPARE(grid.TextMatrix(0, 0), QString("List of all active persons"));

    // Rows = 1 empties the data but keeps the headings; growing adds empty rows.
    grid.SetRows(1);
    QCOMPARE(grid.Rows(), 1);
    QCOMPARE(grid.TextMatrix(1, 0), QString());
    QCOMPARE(grid.TextMatrix(0, 1), QString("B"));
    grid.SetRows(3);
    QCOMPARE(grid.Rows(), 3);
    QCOMPARE(grid.TextMatrix(2, 0), QString());
    grid.SetRows(0);
    QCOMPARE(grid.Rows(), 1); // the heading row always stays

    // Fewer columns drop their texts; they come back empty.
    grid.AddItem("x\ty\tz");
    grid.SetCols(1);
    QCOMPARE(grid.Cols(), 1);
    grid.SetCols(3);
    QCOMPARE(grid.TextMatrix(grid.Rows() - 1, 0), QString("x"));
    QCOMPARE(grid.TextMatrix(grid.Rows() - 1, 2), QString());
    QCOMPARE(grid.TextMatrix(0, 2), QString());
}

void TestFlexGrid::sortIgnoresCaseAndKeepsEqualRowsInOrder() {
    FlexGrid grid;
    grid.SetFormatString("<Code|Key|RecNum");
    grid.AddItem("x\tABC-1234\t1");
    grid.AddItem("y\tabc-0001\t2");
    grid.SetCol(1);
    grid.Sort();
    QCOMPARE(grid.TextMatrix(1, 1), QString("abc-0001"));
    QCOMPARE(grid.TextMatrix(2, 1), QString("ABC-1234"));
    QCOMPARE(grid.TextMatrix(1, 2), QString("2")); // whole rows move

    grid.SetRows(1);
    for (const char* key : {"Moe Al", "de Vries Jan", "Lee Q Bob", "Davis Kim", "Lee Ann"})
        grid.AddItem(QString("\t%1").arg(key));
    grid.Sort();
    const QStringList expected{"Davis Kim", "de Vries Jan", "Lee Ann", "Lee Q Bob", "Moe Al"};
    for (int row = 1; row <= 5; ++row)
        QCOMPARE(grid.TextMatrix(row, 1), expected[row - 1]);

    // Equal keys (case aside) keep their order; colours travel with their rows.
    grid.SetRows(1);
    grid.AddItem("first\tsmith");
    grid.AddItem("b\tBROWN");
    grid.AddItem("second\tSMITH");
    grid.AddItem("third\tSmith");
    grid.SetRow(2);
    grid.SetCol(0);
    grid.SetColSel(1);
    grid.SetCellBackColor(Shade);
    grid.SetCol(1);
    grid.Sort();
    QCOMPARE(grid.TextMatrix(1, 0), QString("b"));
    QCOMPARE(grid.TextMatrix(2, 0), QString("first"));
    QCOMPARE(grid.TextMatrix(3, 0), QString("second"));
    QCOMPARE(grid.TextMatrix(4, 0), QString("third"));
    grid.SetRow(1);
    grid.SetCol(0);
    QCOMPARE(grid.CellBackColor(), Shade);
    grid.SetRow(2);
    QVERIFY(!grid.CellBackColor().isValid());
}

void TestFlexGrid::sortOfHeadingOnlyGridChangesNothing() {
    FlexGrid grid;
    grid.SetFormatString("<Zeta|<alpha");
    grid.SetRows(1);
    QCOMPARE(grid.Rows() - 1, 0); // no data row
    grid.SetCol(0);
    grid.Sort();
    QCOMPARE(grid.Rows(), 1);
    QCOMPARE(grid.TextMatrix(0, 0), QString("Zeta"));
    QCOMPARE(grid.TextMatrix(0, 1), QString("alpha"));

    grid.AddItem("only\trow");
    grid.Sort();
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.TextMatrix(1, 0), QString("only"));
}

void TestFlexGrid::sourceRowsReadTheirCellsWhenAsked() {
    FlexGrid grid;
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.SetFormatString("<Code|<Name|>Hours");
    auto source = std::make_shared<Letters>(QStringLiteral("cab"));
    grid.SetRedraw(false);
    grid.AddItems(source, 3000);
    QCOMPARE(source->asked, 0); // nothing is read while filling
    grid.SetRedraw(true);
    QCOMPARE(grid.Rows(), 3001);
    QCoreApplication::processEvents();
    // Painting reads the rows in view, not the thousands below them.
    QVERIFY(source->asked > 0);
    QVERIFY(source->asked < 3 * 100);

    QCOMPARE(grid.TextMatrix(1, 0), QString("c1"));
    QCOMPARE(grid.TextMatrix(3000, 2), QString("cell 3000.2"));
    QCOMPARE(ViewOf(grid)->model()->index(1, 1).data().toString(), QString("cell 2.1"));
    QCOMPARE(grid.TextMatrix(0, 0), QString("Code")); // the heading is the grid's own
    QCOMPARE(grid.TextMatrix(3001, 0), QString());    // beyond the rows
    grid.SetRows(3002); // a grown row is empty, not an item of the source
    QCOMPARE(grid.TextMatrix(3001, 0), QString());
}

void TestFlexGrid::sourceRowsSortAndColourAlongsideOwnRows() {
    FlexGrid grid;
    grid.SetFormatString("<Code|<Name|>Hours");
    grid.AddItem("B0\town");
    grid.AddItems(std::make_shared<Letters>(QStringLiteral("cAb")), 5); // c1 A2 b3 c4 A5
    grid.AddItem("a0\town too");
    grid.SetCol(0);
    grid.Sort();
    QCOMPARE(Column(grid, 0), (QStringList{"a0", "A2", "A5", "B0", "b3", "c1", "c4"}));
    QCOMPARE(Column(grid, 1), (QStringList{"own too", "cell 2.1", "cell 5.1", "own", "cell 3.1",
                                           "cell 1.1", "cell 4.1"}));

    // Every second row shaded, as the lists do, then sorted the other way round on column 2:
    // the colours go with their rows.
    for (int row = 2; row < grid.Rows(); row += 2) {
        grid.SetRow(row);
        grid.SetCol(0);
        grid.SetColSel(1);
        grid.SetCellBackColor(Shade);
    }
    grid.SetRow(3);
    grid.SetCol(2);
    grid.SetCellBackColor(Qt::yellow);
    grid.SetCol(1);
    grid.Sort(); // "cell 1.1" < "cell 2.1" < ... < "own" < "own too"
    QCOMPARE(Column(grid, 0), (QStringList{"c1", "A2", "b3", "c4", "A5", "B0", "a0"}));
    const auto colour = [&grid](int row, int col) {
        grid.SetRow(row);
        grid.SetCol(col);
        return grid.CellBackColor();
    };
    QCOMPARE(colour(2, 0), Shade); // A2 was row 2
    QCOMPARE(colour(2, 1), Shade);
    QVERIFY(!colour(2, 2).isValid());
    QCOMPARE(colour(5, 2), QColor(Qt::yellow)); // A5 was row 3
    QVERIFY(!colour(5, 0).isValid());
    QCOMPARE(colour(1, 0), Shade);    // c1 was row 6
    QCOMPARE(colour(6, 1), Shade);    // B0 was row 4
    QVERIFY(!colour(4, 0).isValid()); // c4 was row 7
    QVERIFY(!colour(7, 0).isValid()); // a0 was row 1
}

void TestFlexGrid::writingASourceRowKeepsItsOtherCells() {
    FlexGrid grid;
    grid.SetFormatString("<Code|<Name|>Hours");
    auto source = std::make_shared<Letters>(QStringLiteral("x"));
    grid.AddItems(source, 2);
    grid.SetTextMatrix(2, 1, "renamed");
    QCOMPARE(grid.TextMatrix(2, 0), QString("x2"));
    QCOMPARE(grid.TextMatrix(2, 1), QString("renamed"));
    QCOMPARE(grid.TextMatrix(2, 2), QString("cell 2.2"));
    QCOMPARE(grid.TextMatrix(1, 1), QString("cell 1.1"));
    // The row keeps its texts now: the source is not asked for it again.
    const int asked = source->asked;
    QCOMPARE(grid.TextMatrix(2, 2), QString("cell 2.2"));
    QCOMPARE(source->asked, asked);
}

void TestFlexGrid::columnsDroppedFromSourceRowsStayDropped() {
    FlexGrid grid;
    grid.SetFormatString("<Code|<Name|>Hours");
    grid.AddItems(std::make_shared<Letters>(QStringLiteral("x")), 2);
    grid.AddItem("own\tname\thours");
    grid.SetCols(2);
    QCOMPARE(grid.TextMatrix(1, 2), QString());
    grid.SetCols(4);
    QCOMPARE(grid.TextMatrix(1, 1), QString("cell 1.1"));
    QCOMPARE(grid.TextMatrix(1, 2), QString());
    QCOMPARE(grid.TextMatrix(3, 2), QString());
    QCOMPARE(grid.TextMatrix(1, 3), QString());
}

void TestFlexGrid::aNewSourceLeavesEarlierRowsTheirTexts() {
    FlexGrid grid;
    grid.SetFormatString("<Code|<Name|>Hours");
    grid.AddItems(std::make_shared<Letters>(QStringLiteral("p")), 2);
    grid.AddItems(std::make_shared<Letters>(QStringLiteral("q")), 1);
    QCOMPARE(Column(grid, 0), (QStringList{"p1", "p2", "q1"}));
    // Added again after a change of columns, the same source's earlier rows keep theirs.
    auto same = std::make_shared<Letters>(QStringLiteral("r"), 4);
    grid.SetRows(1);
    grid.AddItems(same, 1);
    grid.SetCols(2);
    grid.SetCols(3);
    grid.AddItems(same, 1);
    QCOMPARE(Column(grid, 2), (QStringList{"", "cell 1.2"}));
}

void TestFlexGrid::emptiedGridLetsGoOfItsSource() {
    FlexGrid grid;
    grid.SetFormatString("<Code|<Name");
    auto source = std::make_shared<Letters>(QStringLiteral("x"));
    grid.AddItems(source, 10);
    QCOMPARE(source.use_count(), 2);
    grid.SetRows(1);
    QCOMPARE(source.use_count(), 1); // a list's copy of its file is freed with its rows
}

void TestFlexGrid::cellBackColorCoversColToColSelOfCurrentRow() {
    FlexGrid grid;
    FillCourses(grid, 6);
    // Shade even rows across columns 0 to 3, as the lists do.
    for (int row = 2; row < grid.Rows(); row += 2) {
        grid.SetRow(row);
        grid.SetCol(0);
        grid.SetColSel(3);
        grid.SetCellBackColor(Shade);
    }
    for (int row = 1; row < grid.Rows(); ++row) {
        grid.SetRow(row);
        for (int col = 0; col < grid.Cols(); ++col) {
            grid.SetCol(col);
            const bool shaded = row % 2 == 0 && col <= 3;
            QCOMPARE(grid.CellBackColor().isValid(), shaded);
            if (shaded)
                QCOMPARE(grid.CellBackColor(), Shade);
        }
    }
    // The view paints the colour.
    QCOMPARE(ViewOf(grid)->model()->index(1, 2).data(Qt::BackgroundRole).value<QColor>(), Shade);

    // Setting Col collapses the selection to it; a range may run right to left.
    grid.SetRow(1);
    grid.SetCol(2);
    QCOMPARE(grid.ColSel(), 2);
    grid.SetColSel(0);
    grid.SetCellBackColor(Qt::yellow);
    for (int col = 0; col <= 3; ++col) {
        grid.SetCol(col);
        QCOMPARE(grid.CellBackColor() == QColor(Qt::yellow), col <= 2);
    }
    // The heading row takes no colour.
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetCellBackColor(Qt::red);
    QVERIFY(!grid.CellBackColor().isValid());
}

void TestFlexGrid::widenedColumnPushesKeyColumnsOutOfView() {
    // Never shown, as while a window rebuilds its list.
    FlexGrid grid;
    grid.resize(600, 300);
    FillCourses(grid, 3);
    grid.SetColWidth(1, 3600);
    grid.SetColWidth(2, 3200);
    QVERIFY(!grid.isVisible());
    QVERIFY(grid.ColIsVisible(3));
    QVERIFY(grid.ColIsVisible(4));
    QVERIFY(!grid.ColIsVisible(6));
    QVERIFY(!grid.ColIsVisible(-1));

    grid.SetColWidth(1, 1000);
    grid.SetColWidth(2, 1000);
    const int steps = Widen(grid, 1, 4);
    QVERIFY(steps > 0);
    QVERIFY(!grid.ColIsVisible(4));
    QVERIFY(!grid.ColIsVisible(5));
    QVERIFY(grid.ColIsVisible(3));
    // Column 4 starts at or just past the right edge: one step back it would still show.
    const int frame = ViewOf(grid)->frameWidth();
    int left = 0;
    for (int col = 0; col < 4; ++col)
        left += platform::Twips(grid.ColWidth(col));
    QVERIFY(left >= grid.width() - 2 * frame);
    QVERIFY(left - platform::Twips(15) < grid.width() - 2 * frame);
    QCOMPARE(Widen(grid, 1, 4), 0); // once out of view, it stays out

    // With more rows than fit, the scroll bar narrows the cells: fewer steps are needed.
    FlexGrid tall;
    tall.resize(600, 300);
    FillCourses(tall, 200);
    tall.SetColWidth(1, 1000);
    tall.SetColWidth(2, 1000);
    const int tallSteps = Widen(tall, 1, 4);
    QVERIFY(tallSteps < steps);
    QVERIFY(!tall.ColIsVisible(4));
}

void TestFlexGrid::widenedColumnAgreesWithTheShownView() {
    FlexGrid grid;
    grid.resize(500, 10);
    grid.SetHeight(19 * grid.RowHeight(0));
    FillCourses(grid, 300);
    grid.hide();
    grid.SetColWidth(1, 1200);
    grid.SetColWidth(2, 1200);
    Widen(grid, 1, 4);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QTableView* view = ViewOf(grid);
    QVERIFY(view->verticalScrollBar()->isVisible());
    QCOMPARE(view->viewport()->width(),
             grid.width() - 2 * view->frameWidth() - view->verticalScrollBar()->width());
    const QHeaderView* heading = view->horizontalHeader();
    // Column 1 fills the width exactly: column 4 begins within one step of the edge.
    QVERIFY(heading->sectionViewportPosition(4) >= view->viewport()->width());
    QVERIFY(heading->sectionViewportPosition(4) - view->viewport()->width() <
            platform::Twips(15) + 1);
    QVERIFY(heading->sectionViewportPosition(3) < view->viewport()->width());
    QCOMPARE(heading->sectionSize(1), platform::Twips(grid.ColWidth(1)));

    // Nothing scrolls sideways to the key columns: not the scroll bar, not the arrow keys.
    view->horizontalScrollBar()->setValue(400);
    QCOMPARE(view->horizontalScrollBar()->value(), 0);
    grid.SetRow(1);
    view->setFocus();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(heading->offset(), 0);
    QCOMPARE(grid.Row(), 1);
    QVERIFY(!grid.ColIsVisible(4));
}

void TestFlexGrid::topRowScrollsAndRowIsVisibleFollows() {
    FlexGrid grid;
    grid.resize(500, 10);
    grid.SetHeight(19 * grid.RowHeight(0));
    FillCourses(grid, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);

    QCOMPARE(grid.TopRow(), 1);
    QVERIFY(grid.RowIsVisible(0));
    QVERIFY(grid.RowIsVisible(1));
    QVERIFY(!grid.RowIsVisible(100));
    int inView = 0;
    while (grid.RowIsVisible(inView + 1))
        ++inView;
    QVERIFY(inView >= 17 && inView <= 19);

    grid.SetTopRow(100);
    QCOMPARE(grid.TopRow(), 100);
    QCOMPARE(view->rowAt(0), 99);
    QVERIFY(grid.RowIsVisible(100));
    QVERIFY(!grid.RowIsVisible(99));
    QVERIFY(grid.RowIsVisible(100 + inView - 1));
    QVERIFY(!grid.RowIsVisible(100 + inView));
    for (int row = 80; row <= 140; ++row)
        QCOMPARE(grid.RowIsVisible(row), ShownByView(grid, row));

    // Setting the row does not scroll; setting the top row does.
    grid.SetRow(150);
    QCOMPARE(grid.TopRow(), 100);
    QVERIFY(!grid.RowIsVisible(150));

    // Past the end it stops where the last row is the bottom one in full view, and the top
    // row is still drawn whole under the heading: the highlighted last row starts where the
    // whole rows above it end, and the space below it stays empty.
    grid.SetRow(200);
    grid.SetTopRow(5000);
    const int top = grid.TopRow();
    QVERIFY(top < 200);
    QVERIFY(grid.RowIsVisible(200));
    QVERIFY(!grid.RowIsVisible(top - 1));
    QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    QCOMPARE(view->rowAt(0), top - 1);
    for (int row = 150; row <= 200; ++row)
        QCOMPARE(grid.RowIsVisible(row), ShownByView(grid, row));
    const QImage shot = view->viewport()->grab().toImage();
    const QColor highlight = view->palette().color(QPalette::Highlight);
    const int rowPixels = view->rowHeight(0);
    QList<int> highlighted;
    for (int y = 0; y < view->viewport()->height(); ++y)
        if (shot.pixelColor(QPoint(2, y) * shot.devicePixelRatio()) == highlight)
            highlighted.append(y);
    // A whole row: its height less the grid line under it.
    QCOMPARE(highlighted.value(0), (200 - top) * rowPixels);
    QCOMPARE(highlighted.size(), rowPixels - 1);
    QCOMPARE(highlighted.last(), highlighted.first() + rowPixels - 2);
    QVERIFY(highlighted.last() < view->viewport()->height() - 1);

    // The user scrolls: the grid reports it.
    view->verticalScrollBar()->setValue(9);
    QCOMPARE(grid.TopRow(), 10);

    grid.SetRows(1);
    QCOMPARE(grid.TopRow(), 1);
    QVERIFY(!grid.RowIsVisible(1));
}

void TestFlexGrid::topRowSetWhileHiddenHoldsWhenShown() {
    FlexGrid grid;
    grid.resize(500, 10);
    grid.SetHeight(15 * grid.RowHeight(0));
    grid.SetRedraw(false);
    FillCourses(grid, 120);
    grid.SetRedraw(true);
    grid.SetRow(40);
    grid.SetTopRow(40);
    QCOMPARE(grid.TopRow(), 40);
    QVERIFY(grid.RowIsVisible(40));
    QVERIFY(!grid.RowIsVisible(39));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);
    QCOMPARE(grid.TopRow(), 40);
    QCOMPARE(view->rowAt(0), 39);
    QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 39);
}

void TestFlexGrid::clicksAndKeysMoveTheRowAndRaiseRowColChange() {
    FlexGrid grid;
    grid.resize(500, 10);
    grid.SetHeight(15 * grid.RowHeight(0));
    FillCourses(grid, 30);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);
    QSignalSpy changes(&grid, &FlexGrid::RowColChange);

    // With the heading current, taking the focus selects nothing.
    grid.setFocus(Qt::TabFocusReason);
    QVERIFY(view->hasFocus());
    QCOMPARE(grid.Row(), 0);
    QVERIFY(view->selectionModel()->selectedRows().isEmpty());

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(grid, 3));
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 2);

    // Ctrl+click on the highlighted row keeps it highlighted.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(grid, 3));
    QCOMPARE(view->selectionModel()->selectedRows().size(), 1);

    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(grid.Row(), 4);
    QCOMPARE(changes.count(), 2);
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(grid.Row(), 2);
    QTest::keyClick(view, Qt::Key_End);
    QCOMPARE(grid.Row(), 30);
    QVERIFY(grid.RowIsVisible(30)); // the user's moves scroll
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.TopRow(), 1);
    const int before = changes.count();
    grid.SetCol(2);
    QCOMPARE(changes.count(), before + 1);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Left);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.Col(), 2); // the current column is the program's
    QCOMPARE(changes.count(), before + 1);

    // Clicks over the heading leave the row alone.
    QTest::mouseClick(view->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(grid.Row(), 1);
}

void TestFlexGrid::programChangesRaiseRowColChangeOnce() {
    FlexGrid grid;
    FillCourses(grid, 5);
    QSignalSpy changes(&grid, &FlexGrid::RowColChange);
    grid.SetRow(2);
    QCOMPARE(changes.count(), 1);
    grid.SetRow(2);
    QCOMPARE(changes.count(), 1);
    grid.SetRow(99); // held to the last row
    QCOMPARE(grid.Row(), 5);
    QCOMPARE(changes.count(), 2);
    grid.SetColSel(3);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(ViewOf(grid)->selectionModel()->selectedRows().value(0).row(), 4);

    // Emptying the grid leaves the heading current.
    grid.SetRows(1);
    QCOMPARE(grid.Row(), 0);
    QCOMPARE(changes.count(), 3);
    QVERIFY(ViewOf(grid)->selectionModel()->selectedRows().isEmpty());
}

void TestFlexGrid::doubleClickSelectsRowAndRaisesDblClick() {
    FlexGrid grid;
    grid.resize(500, 10);
    grid.SetHeight(15 * grid.RowHeight(0));
    FillCourses(grid, 10);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);
    QSignalSpy doubles(&grid, &FlexGrid::DblClick);
    QSignalSpy changes(&grid, &FlexGrid::RowColChange);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(grid, 4));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, RowCentre(grid, 4));
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(grid.Row(), 4);
    QCOMPARE(changes.count(), 1);

    QTest::mouseDClick(view->viewport(), Qt::RightButton, {}, RowCentre(grid, 4));
    QCOMPARE(doubles.count(), 1);
}

void TestFlexGrid::mouseRowFollowsThePointer() {
    FlexGrid grid;
    grid.resize(500, 10);
    grid.SetHeight(15 * grid.RowHeight(0));
    FillCourses(grid, 40);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);
    QSignalSpy moves(&grid, &FlexGrid::MouseMove);

    SendMouseMove(view->viewport(), RowCentre(grid, 3));
    QCOMPARE(grid.MouseRow(), 3);
    QCOMPARE(moves.count(), 1);
    const QPoint reported = moves.at(0).at(2).toPoint();
    QCOMPARE(reported, view->viewport()->mapTo(&grid, RowCentre(grid, 3)));

    SendMouseMove(view->horizontalHeader()->viewport(), QPoint(30, 4));
    QCOMPARE(grid.MouseRow(), 0);

    grid.SetTopRow(20);
    SendMouseMove(view->viewport(), RowCentre(grid, 22));
    QCOMPARE(grid.MouseRow(), 22);

    // Scrolled to the end, the pointer finds the last row and the top row where they are
    // drawn, and nothing in the space left below the last row.
    grid.SetTopRow(40);
    SendMouseMove(view->viewport(), RowCentre(grid, 40));
    QCOMPARE(grid.MouseRow(), 40);
    SendMouseMove(view->viewport(), QPoint(30, 1));
    QCOMPARE(grid.MouseRow(), grid.TopRow());
    QCOMPARE(grid.MouseRow(), view->rowAt(1) + 1);
    SendMouseMove(view->viewport(), QPoint(30, view->viewport()->height() - 2));
    QCOMPARE(grid.MouseRow(), -1);

    // Below the last row of a short list there is no row.
    grid.SetRows(3);
    SendMouseMove(view->viewport(), QPoint(30, view->viewport()->height() - 3));
    QCOMPARE(grid.MouseRow(), -1);
}

void TestFlexGrid::redrawOffKeepsChangesFromTheViewUntilOn() {
    FlexGrid grid;
    grid.resize(500, 300);
    FillCourses(grid, 2);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);

    grid.SetRedraw(false);
    QVERIFY(!grid.Redraw());
    grid.SetRows(1);
    grid.SetFormatString("<Name|<Org|Key");
    for (int n = 0; n < 50; ++n)
        grid.AddItem(QString("Name %1\tOrg\tk%2").arg(n).arg(99 - n));
    grid.SetCol(2);
    grid.Sort();
    grid.SetColWidth(0, 3000);
    grid.SetRow(1);
    // The program sees every change at once; the view is told nothing yet.
    QCOMPARE(grid.Rows(), 51);
    QCOMPARE(grid.TextMatrix(1, 0), QString("Name 49"));
    QCOMPARE(view->model()->rowCount(), 2);
    QVERIFY(!view->updatesEnabled());

    grid.SetRedraw(true);
    QVERIFY(view->updatesEnabled());
    QCOMPARE(view->model()->rowCount(), 50);
    QCOMPARE(view->model()->columnCount(), 3);
    QCOMPARE(view->model()->index(0, 0).data().toString(), QString("Name 49"));
    QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QString("Org"));
    QCOMPARE(view->horizontalHeader()->sectionSize(0), platform::Twips(3000));
    QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 0);

    // Cell changes alone, without a change of shape, also reach the view.
    grid.SetRedraw(false);
    grid.SetTextMatrix(2, 0, "changed");
    grid.SetRedraw(true);
    QCOMPARE(view->model()->index(1, 0).data().toString(), QString("changed"));
}

void TestFlexGrid::toolTipShowsOverCells() {
    FlexGrid grid;
    grid.resize(400, 200);
    FillCourses(grid, 5);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = ViewOf(grid);

    grid.SetToolTipText(" Double-click to view/edit this course ");
    QCOMPARE(grid.ToolTipText(), QString(" Double-click to view/edit this course "));
    const QPoint at = RowCentre(grid, 2);
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QVERIFY(QCoreApplication::sendEvent(view->viewport(), &help));
    QCOMPARE(QToolTip::text(), QString(" Double-click to view/edit this course "));

    grid.SetToolTipText(QString());
    QHelpEvent again(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &again);
    QTRY_VERIFY(!QToolTip::isVisible());
}

// Renders a Course Index as the Lobby shows it and checks the look by its pixels. Set
// MIRTAVEL_SNAPSHOT_DIR to keep the picture for a look by eye.
void TestFlexGrid::snapshotLooksLikeAList() {
    FlexGrid grid;
    grid.resize(platform::Twips(8400), 10);
    grid.SetHeight(15 * grid.RowHeight(0));
    grid.hide();
    grid.SetRows(1);
    grid.SetCols(6);
    grid.SetHeight(15 * grid.RowHeight(0));
    grid.SetFormatString("<Course Code|<Name of Course|<Provided by|>Hours|ID|RecNum");
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetColSel(3);
    grid.SetRedraw(false);
    const QStringList courses{
        "FA-0100\tFirearms Qualification\tState Academy\t8.0\t38412.52\t1",
        "abc-0001\tFirst Aid Refresher\tRed Cross\t4.0\t38413.1\t2",
        "DT-2000\tDefensive Tactics\tIn-house\t24.0\t38414.2\t3",
        "LEG-0001\tLegal Updates\tDistrict Attorney\t.5\t38415.3\t4",
        "EVOC-01\tEmergency Vehicle Operations\tState Academy\t16.0\t38416.4\t5",
        "CAT-HEAD\tCategory Heading\t\t\t38417.5\t6",
        "CPR-10\tCPR Certification\tRed Cross\t3.0\t38418.6\t7",
    };
    for (const QString& course : courses)
        grid.AddItem(course);
    grid.Sort();
    for (int row = 2; row < grid.Rows(); row += 2) {
        grid.SetRow(row);
        grid.SetCol(0);
        grid.SetColSel(3);
        grid.SetCellBackColor(Shade);
    }
    grid.SetColWidth(1, 3600);
    grid.SetColWidth(2, 3200);
    grid.show();
    grid.SetRedraw(true);
    Widen(grid, 1, 4);
    grid.SetRow(3);
    grid.SetTopRow(1);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QVERIFY(grid.RowHeight(0) >= 225 && grid.RowHeight(0) <= 270);

    const QImage shot = grid.grab().toImage();
    if (const QByteArray dir = qgetenv("MIRTAVEL_SNAPSHOT_DIR"); !dir.isEmpty())
        QVERIFY(shot.save(QString::fromLocal8Bit(dir) + "/flexgrid.png"));

    QTableView* view = ViewOf(grid);
    const auto pixelOf = [&](int row, int col, int dx) {
        const QRect cell = view->visualRect(view->model()->index(row - 1, col));
        const QPoint p = view->viewport()->mapTo(&grid, QPoint(cell.left() + dx, cell.top() + 2));
        return shot.pixelColor(p * shot.devicePixelRatio());
    };
    QCOMPARE(pixelOf(1, 0, 2), QColor(Qt::white));
    QCOMPARE(pixelOf(2, 1, 2), Shade);
    const QColor highlight = view->palette().color(QPalette::Highlight);
    QCOMPARE(pixelOf(3, 0, 2), highlight);
    QCOMPARE(pixelOf(3, 3, 2), highlight);
    // The whole row is highlighted up to the right edge, key columns or not.
    const QPoint edge = view->viewport()->mapTo(
        &grid, QPoint(view->viewport()->width() - 3,
                      view->visualRect(view->model()->index(2, 0)).top() + 2));
    QCOMPARE(shot.pixelColor(edge * shot.devicePixelRatio()), highlight);

    // The hours are drawn against the right edge of their column.
    const QRect hours = view->visualRect(view->model()->index(0, 3));
    int inkLeft = hours.right();
    int inkRight = hours.left();
    for (int x = hours.left() + 1; x < hours.right(); ++x)
        for (int y = hours.top() + 1; y < hours.bottom(); ++y) {
            const QPoint p = view->viewport()->mapTo(&grid, QPoint(x, y));
            if (shot.pixelColor(p * shot.devicePixelRatio()).lightness() < 128) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
    QVERIFY(inkRight > inkLeft);
    QVERIFY(hours.right() - inkRight < inkLeft - hours.left());
    QVERIFY(hours.right() - inkRight < 8);
}

QTEST_MAIN(TestFlexGrid)
#include "test_flexgrid.moc"
