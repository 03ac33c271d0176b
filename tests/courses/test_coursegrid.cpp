// The Course Index page: filling and sorting the grid, hours cells, identities, the tool tip
// and the Lobby's side of adding and editing a course. (Credit by level: test_lobby.)

#include "CourseDoor.h"
#include "courses/CourseGrid.h"
#include "courses/CoursePage.h"
#include "courses/frmAddEditCourse.h"
#include "platform/Twips.h"
#include "store/Formats.h"
#include "support/ListData.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QStyle>
#include <QTabWidget>
#include <QTest>

using namespace listdata;
using coursegrid::Column;

namespace {

store::CourseRecord NewCourse(const QString& code, const QString& name, float hours,
                              int stampIndex) {
    store::CourseRecord r;
    r.DateCreated = formats::WholeSecondValue(StampOf(stampIndex));
    r.CourseCode = code;
    r.CourseName = name;
    r.Hours = hours;
    return r;
}

} // namespace

class TestCourseGrid : public QObject {
    Q_OBJECT

private slots:
    void rowsHoursAndHiddenKeys() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses({{"ABC-1234", "Report Writing", 8, "State Academy"},
                      {"abc-0001", "Pistol Basics", 0.5f},
                      {"ADM", "Administration", 0},
                      {"T1-RE", "Tactics Refresher", 24}});
        SignIn(3);
        auto lobby = OpenCoursePage();
        FlexGrid& grid = *lobby->c.gridCourse;
        QVERIFY(grid.Visible());
        QCOMPARE(ColumnTexts(grid, Column::Code),
                 QStringList({"abc-0001", "ABC-1234", "ADM", "T1-RE"}));
        QCOMPARE(ColumnTexts(grid, Column::Hours), QStringList({".5", "8.0", "", "24.0"}));
        QCOMPARE(ColumnTexts(grid, Column::ProvidedBy), QStringList({"", "State Academy", "", ""}));
        QCOMPARE(ColumnTexts(grid, Column::RecNum), QStringList({"2", "1", "3", "4"}));
        // The ID column reads back as the very creation stamp.
        const double stamp = formats::WholeSecondValue(StampOf(1002));
        QVERIFY(IsCourseKey(grid.TextMatrix(1, Column::Key), stamp));
        QCOMPARE(formats::ParseGeneralDate(grid.TextMatrix(1, Column::Key)).value_or(0), stamp);
        QVERIFY(!IsCourseKey(grid.TextMatrix(2, Column::Key), stamp));
        QCOMPARE(grid.ColAlignment(Column::Hours), Qt::AlignRight);

        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.TopRow(), 1);
        QCOMPARE(grid.ColWidth(Column::ProvidedBy), 3200);
        QVERIFY(grid.ColWidth(Column::Name) >= 3600);
        // The widest code the field holds is drawn whole, with the cell's margins.
        const int codeText = grid.fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWW"));
        const int cellMargins =
            2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
        QVERIFY(platform::Twips(grid.ColWidth(Column::Code)) >= codeText + cellMargins);
        QVERIFY(grid.ColIsVisible(Column::Hours));
        QVERIFY(!grid.ColIsVisible(Column::Key));
        QCOMPARE(grid.Height(), 15 * grid.RowHeight(0));
        grid.SetRow(2);
        grid.SetCol(0);
        QCOMPARE(grid.CellBackColor(), QColor(240, 240, 240));
    }

    void keysNameTheSameWholeSecond() {
        // Stamps across the years, each tried against neighbours inside and outside its second.
        QRandomGenerator random(1208);
        const double second = 1.0 / 86400.0;
        for (int round = 0; round < 5000; ++round) {
            const double stamp = -600000.0 + random.bounded(3500000.0);
            const QString key = CourseKeyText(stamp);
            QCOMPARE(formats::ParseGeneralDate(key).value_or(-1e9),
                     formats::WholeSecondValue(stamp));
            for (const double step : {0.2, 0.49, 0.51, 1.0, -0.3, -0.7}) {
                const double other = stamp + step * second;
                const bool sameSecond =
                    formats::WholeSecondValue(other) == formats::WholeSecondValue(stamp);
                if (IsCourseKey(key, other) != sameSecond)
                    QFAIL(qPrintable(QStringLiteral("%1 against %2")
                                         .arg(stamp, 0, 'g', 17)
                                         .arg(other, 0, 'g', 17)));
            }
        }
        QVERIFY(!IsCourseKey(QString(), 1e300)); // no stamp at all names no course
    }

    void storedTextsStayInTheirCells() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        // A tab inside a stored name (an older file may hold one) is text, not a cell edge.
        WriteCourses({{"NO-1", "Night\tOps", 4, "Range\t2"}, {"\u00A0 B-2", " Baton ", 2}});
        SignIn(3);
        auto lobby = OpenCoursePage();
        FlexGrid& grid = *lobby->c.gridCourse;
        QCOMPARE(ColumnTexts(grid, Column::Code), QStringList({"B-2", "NO-1"}));
        QCOMPARE(ColumnTexts(grid, Column::Name), QStringList({"Baton", "Night\tOps"}));
        QCOMPARE(ColumnTexts(grid, Column::ProvidedBy), QStringList({"", "Range\t2"}));
        QCOMPARE(ColumnTexts(grid, Column::Hours), QStringList({"2.0", "4.0"}));
        QCOMPARE(ColumnTexts(grid, Column::RecNum), QStringList({"2", "1"}));

        // The list shows the index as it was read until it is filled again.
        WriteCourses({{"ZZ-9", "Changed behind the list", 1}});
        QCOMPARE(ColumnTexts(grid, Column::Code), QStringList({"B-2", "NO-1"}));
        lobby->Page().Fill();
        QCOMPARE(ColumnTexts(grid, Column::Code), QStringList({"B-2", "ZZ-9"}));
    }

    void emptyIndexShowsNothingAndAsksNothing() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        SignIn(3);
        auto lobby = OpenCoursePage(); // a question here would fail the test
        QVERIFY(!lobby->c.gridCourse->Visible());
        QCOMPARE(lobby->c.gridCourse->Rows(), 1);
        QVERIFY(!lobby->c.cmdAddCourse->isHidden());
        QVERIFY(lobby->c.cmdEditCourse->isHidden());
        QVERIFY(lobby->c.cmdCreditTraining->isHidden());
    }

    void addingTheFirstAndSecondCourse() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        SignIn(3);
        auto lobby = OpenCoursePage();
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditCourse*>(window);
            QVERIFY(editor);
            QVERIFY(editor->AddMode());
            QCOMPARE(editor->EditRecNum(), 1);
            SaveCourse(NewCourse(" ZZ-9", "Zoning", 2, 70), 1, window);
        });
        lobby->c.cmdAddCourse->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(lobby->c.gridCourse->Visible());
        // Stored with its leading blank, shown trimmed.
        QCOMPARE(ColumnTexts(*lobby->c.gridCourse, Column::Code), QStringList({"ZZ-9"}));
        QCOMPARE(lobby->c.gridCourse->Row(), 1);
        QVERIFY(!lobby->c.cmdEditCourse->isHidden());
        QVERIFY(lobby->c.cmdCreditTraining->isEnabled());
        QCOMPARE(lobby->c.cmdAddCourse->Tag(), QString());

        answers.expectWindow(
            [&](QWidget* window) { SaveCourse(NewCourse("AA-1", "Arrest", 0, 71), 2, window); });
        lobby->c.cmdAddCourse->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(ColumnTexts(*lobby->c.gridCourse, Column::Code), QStringList({"AA-1", "ZZ-9"}));
        QCOMPARE(lobby->c.gridCourse->Row(), 1);
        QVERIFY(!lobby->c.cmdCreditTraining->isEnabled()); // a heading is highlighted
        QVERIFY(!lobby->c.cmdSearch->isHidden());
    }

    void editingFindsTheCourseByIdentity() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses({{"A-1", "Arrest", 8}, {"B-1", "Baton", 4}, {"C-1", "CPR", 4}});
        SignIn(2);
        auto lobby = OpenCoursePage();
        FlexGrid& grid = *lobby->c.gridCourse;
        grid.SetRow(1);
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditCourse*>(window);
            QVERIFY(editor);
            QVERIFY(!editor->AddMode());
            QCOMPARE(editor->EditRecNum(), 1);
            SaveCourse(NewCourse("Z-1", "Arrest", 8, 1001), 1, window);
        });
        emit grid.DblClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(ColumnTexts(grid, Column::Code), QStringList({"B-1", "C-1", "Z-1"}));
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(lobby->c.cmdEditCourse->Tag(), QString());

        // Viewed again and closed without saving: the grid is not rebuilt.
        grid.SetRow(2);
        answers.expectWindow([](QWidget*) {});
        lobby->c.cmdEditCourse->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(grid.Row(), 2);
    }

    void toolTipOverDataRows() {
        TestFolder folder;
        WriteCourses({{"A-1", "Arrest", 8}, {"B-1", "Baton", 4}});
        SignIn(3);
        ScriptedAnswers answers;
        auto lobby = OpenCoursePage();
        MoveMouseOverRow(*lobby->c.gridCourse, 2);
        QCOMPARE(lobby->c.gridCourse->ToolTipText(),
                 QStringLiteral(" Double-click to view/edit this course "));
        MoveMouseOverRow(*lobby->c.gridCourse, 0);
        QCOMPARE(lobby->c.gridCourse->ToolTipText(), QString());
    }

    void unreadableCourseIndexIsTold() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        QVERIFY(QDir().mkdir(QStringLiteral("Course.Index")));
        SignIn(3);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        auto lobby = OpenCoursePage();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(' ').contains(QStringLiteral("Course.Index")));
        QVERIFY(lobby->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!lobby->c.gridCourse->Visible());
        QVERIFY(lobby->c.cmdEditCourse->isHidden());
    }
};

QTEST_MAIN(TestCourseGrid)
#include "test_coursegrid.moc"
