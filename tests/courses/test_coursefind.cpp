// Removing a course from the Course Index and finding courses by code or name.

#include "CourseDoor.h"
#include "courses/CourseFind.h"
#include "courses/CourseGrid.h"
#include "store/RecordStore.h"
#include "support/ListData.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace listdata;
using coursegrid::Column;

namespace {

QList<Course> CoursesCoded(const QStringList& codes) {
    QList<Course> courses;
    for (const QString& code : codes)
        courses.append({code, QStringLiteral("Course ") + code, 4});
    return courses;
}

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QList<Course> FindCourses = {{"ADM-0001", "Pistol Qualification", 8},
                                   {"FIR-0002", "Firearms Qualification", 8},
                                   {"T1*-RE", "Tactics Refresher", 4},
                                   {"TRF-0003", "Traffic Stops", 4},
                                   {"ZZZ", "Annual Firearms Review", 2}};

} // namespace

class TestCourseFind : public QObject {
    Q_OBJECT

private slots:
    void deletingHighlightsTheRowAbove() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(CoursesCoded({"A", "B", "C", "D", "E", "F"}));
        WriteTrainings(3, StampOf(1005)); // credited with course E
        const QByteArray training = FileBytes(QStringLiteral("Training.Records"));
        SignIn(4);
        auto lobby = OpenCoursePage();
        FlexGrid& grid = *lobby->c.gridCourse;
        grid.SetRow(5);

        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Confirm"), 1)
            .expectMessage(QStringLiteral("Course Removed"), 1);
        lobby->c.cmdDeleteCourse->Click();
        QVERIFY(answers.verifyDone());
        const ScriptedAnswers::Asked& confirm = answers.asked().at(0);
        QCOMPARE(confirm.lines, QStringList({"Are you SURE you want to remove", "Course Code  E",
                                             "from the 'Course Index'?"}));
        QCOMPARE(confirm.buttons, QStringList({"&Yes, remove", "&No, do NOT remove"}));
        QCOMPARE(confirm.defaultButton, 2);
        QCOMPARE(confirm.icon, 3);
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"The course has been removed", "from the 'Course Index'."}));

        QCOMPARE(ColumnTexts(grid, Column::Code), QStringList({"A", "B", "C", "D", "F"}));
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.TopRow(), 1); // every row in view already
        QVERIFY(store::OpenCourseIndex());
        QCOMPARE(store::CourseCount(), 5);
        store::CloseCourseIndex();
        // The training records of the course stay as they were.
        QCOMPARE(FileBytes(QStringLiteral("Training.Records")), training);
        QVERIFY(lobby->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        grid.SetRow(1);
        answers.expectMessage(QStringLiteral("Confirm"), 1)
            .expectMessage(QStringLiteral("Course Removed"), 1);
        lobby->c.cmdDeleteCourse->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(ColumnTexts(grid, Column::Code), QStringList({"B", "C", "D", "F"}));
        QCOMPARE(grid.Row(), 1);
    }

    void declinedDeletionChangesNothing() {
        TestFolder folder;
        WriteCourses(CoursesCoded({"A", "B"}));
        const QByteArray before = FileBytes(QStringLiteral("Course.Index"));
        SignIn(4);
        ScriptedAnswers answers;
        auto lobby = OpenCoursePage();
        answers.expectMessage(QStringLiteral("Confirm"), 2);
        lobby->c.cmdDeleteCourse->Click();
        answers.expectMessage(QStringLiteral("Confirm"), 0); // Esc
        lobby->c.cmdDeleteCourse->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(FileBytes(QStringLiteral("Course.Index")), before);
        QCOMPARE(lobby->c.gridCourse->Rows(), 3);
    }

    void deletingTheLastCourseLeavesNoFile() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(CoursesCoded({"ONLY"}));
        SignIn(4);
        auto lobby = OpenCoursePage();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Confirm"), 1); // and no "Course Removed"
        lobby->c.cmdDeleteCourse->Click();
        QVERIFY(answers.verifyDone());
        // The removal deleted the file; the refill that followed opened it again, empty.
        QCOMPARE(QFileInfo(QStringLiteral("Course.Index")).size(), 0);
        QVERIFY(!QFile::exists(QStringLiteral("TempFile.$$$")));
        QVERIFY(!lobby->c.gridCourse->Visible());
        for (ZovButton* hidden :
             {lobby->c.cmdSearch, lobby->c.cmdEditCourse, lobby->c.cmdDeleteCourse,
              lobby->c.cmdPrintCourseIndex, lobby->c.cmdCreditTraining})
            QVERIFY(hidden->isHidden());
        QVERIFY(!lobby->c.cmdAddCourse->isHidden());
    }

    void failedRemovalIsToldAndTheLobbyStaysUsable() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(CoursesCoded({"A", "B", "C"}));
        SignIn(4);
        auto lobby = OpenCoursePage();
        // The file is taken away and a folder put in its place.
        QVERIFY(QFile::remove(QStringLiteral("Course.Index")));
        QVERIFY(QDir().mkdir(QStringLiteral("Course.Index")));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Confirm"), 1)
            .expectMessage(QStringLiteral("File Problem"), 1)  // the removal
            .expectMessage(QStringLiteral("File Problem"), 1); // the list that follows
        lobby->c.cmdDeleteCourse->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.asked().at(1).lines.join(' ').contains(QStringLiteral("Course.Index")));
        QVERIFY(lobby->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    void findModeAndWrapAround() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(FindCourses);
        SignIn(4);
        auto lobby = OpenCoursePage();
        FlexGrid& grid = *lobby->c.gridCourse;
        const int wideSearch = lobby->c.cmdSearch->width();
        ScriptedAnswers answers;

        answers.expectInput(QStringLiteral("firearms"), QStringLiteral("Find Course(s)"));
        lobby->c.cmdSearch->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"Which course are you looking for?", "",
                              "(Enter any word or sequence of characters,",
                              "whole or partial, you wish to search for)"}));
        QCOMPARE(answers.lastAsked().defaultText, QString());
        QCOMPARE(grid.Row(), 2); // FIR-0002 Firearms Qualification

        // Find mode: only the find, Quit Searching (flashing) and the grid.
        QVERIFY(lobby->Find().On());
        QCOMPARE(lobby->c.cmdSearch->Caption(), QStringLiteral("Find Next..."));
        QCOMPARE(lobby->c.cmdSearch->toolTip(), QStringLiteral(" Looking for 'firearms' "));
        QCOMPARE(lobby->c.cmdSearch->x() + lobby->c.cmdSearch->width(),
                 lobby->c.cmdQuitSearching->x());
        QVERIFY(!lobby->c.cmdQuitSearching->isHidden());
        QCOMPARE(lobby->flashing, lobby->c.cmdQuitSearching);
        QVERIFY(lobby->held); // the Admin button and the search page out of reach
        for (ZovButton* hidden :
             {lobby->c.cmdCreditTraining, lobby->c.cmdAddCourse, lobby->c.cmdEditCourse,
              lobby->c.cmdDeleteCourse, lobby->c.cmdPrintCourseIndex})
            QVERIFY(hidden->isHidden());

        lobby->c.cmdSearch->Click(); // the other match, then round to the first again
        QCOMPARE(grid.Row(), 5);
        lobby->c.cmdSearch->Click();
        QCOMPARE(grid.Row(), 2);
        QVERIFY(answers.verifyDone()); // no more input boxes while finding

        lobby->c.cmdQuitSearching->Click();
        QVERIFY(!lobby->Find().On());
        QVERIFY(!lobby->flashing);
        QCOMPARE(lobby->c.cmdSearch->Caption(), QStringLiteral("Find and Highlight a Course..."));
        QCOMPARE(lobby->c.cmdSearch->toolTip(), QString());
        QCOMPARE(lobby->c.cmdSearch->width(), wideSearch);
        QVERIFY(lobby->c.cmdQuitSearching->isHidden());
        QVERIFY(!lobby->held);
        for (ZovButton* shown :
             {lobby->c.cmdCreditTraining, lobby->c.cmdAddCourse, lobby->c.cmdEditCourse,
              lobby->c.cmdDeleteCourse, lobby->c.cmdPrintCourseIndex})
            QVERIFY(!shown->isHidden());
        QCOMPARE(grid.Row(), 2);

        // The next find offers the previous text.
        answers.expectInput(QString());
        lobby->c.cmdSearch->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().defaultText, QStringLiteral("firearms"));
        QVERIFY(!lobby->Find().On());
    }

    void findMatchesCodeNameAndBothJoined_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::newRow("code with a star") << "T1*-RE" << 3;
        QTest::newRow("across code and name") << "0001 pistol" << 1;
        QTest::newRow("name, any case") << "TRAFFIC" << 4;
    }

    void findMatchesCodeNameAndBothJoined() {
        QFETCH(QString, text);
        QFETCH(int, row);
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(FindCourses);
        SignIn(3);
        auto lobby = OpenCoursePage();
        lobby->c.gridCourse->SetRow(5); // the search starts after the current row and wraps
        ScriptedAnswers answers;
        answers.expectInput(text);
        lobby->c.cmdSearch->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(lobby->c.gridCourse->Row(), row);
        QCOMPARE(lobby->c.gridCourse->ColSel(), int(coursegrid::LastShownCol));
    }

    void onlyMatchIsTheCurrentRow() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(FindCourses);
        SignIn(3);
        auto lobby = OpenCoursePage();
        lobby->c.gridCourse->SetRow(4);
        ScriptedAnswers answers;
        answers.expectInput(QStringLiteral("stops"));
        lobby->c.cmdSearch->Click();
        QCOMPARE(lobby->c.gridCourse->Row(), 4);
        lobby->c.cmdSearch->Click();
        QCOMPARE(lobby->c.gridCourse->Row(), 4);
        QVERIFY(lobby->Find().On());
        QVERIFY(answers.verifyDone());
    }

    void noMatchEndsFindMode() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}});
        WriteCourses(FindCourses);
        SignIn(3);
        auto lobby = OpenCoursePage();
        lobby->c.gridCourse->SetRow(3);
        ScriptedAnswers answers;
        answers.expectInput(QStringLiteral("k9 unit")).expectMessage(QStringLiteral("No match"), 1);
        lobby->c.cmdSearch->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"The text 'k9 unit'", "could not be found in this 'Course Index'."}));
        QCOMPARE(answers.lastAsked().icon, 5);
        QVERIFY(!lobby->Find().On());
        QVERIFY(!lobby->c.cmdSearch->isHidden());
        QVERIFY(lobby->c.cmdQuitSearching->isHidden());
        QCOMPARE(lobby->c.cmdSearch->Caption(), QStringLiteral("Find and Highlight a Course..."));
        QCOMPARE(lobby->c.gridCourse->Row(), 3);
        QCOMPARE(lobby->Find().SearchText, QStringLiteral("k9 unit"));
    }

    void buttonSetUpDuringAFindEndsIt() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}, {"Bob", "Lee", "", false}});
        WriteCourses(FindCourses);
        SignIn(3);
        auto lobby = OpenCoursePage();
        ScriptedAnswers answers;
        answers.expectInput(QStringLiteral("qualification"));
        lobby->c.cmdSearch->Click();
        QVERIFY(lobby->Find().On());
        lobby->SetUpButtons(); // as the Name List page's own set-up does
        QVERIFY(!lobby->Find().On());
        QVERIFY(!lobby->flashing);
        QVERIFY(!lobby->held);
        QCOMPARE(lobby->c.cmdSearch->Caption(), QStringLiteral("Find and Highlight a Course..."));
    }
};

QTEST_MAIN(TestCourseFind)
#include "test_coursefind.moc"
