// The Lobby's search and results pages: the entry checks, what a search and a summary list
// and how the results page is shown and closed, the view-only history, and a file problem.

#include "lobby/test_lobby_data.h"
#include "search/SearchPage.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "store/TrainingRules.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/frmTrainingHistory.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace lobbytest;

namespace {

struct Entry {
    Entry(int personNumber, QDateTime taken, float courseHours = 8,
          QString courseCode = QStringLiteral("GEN-1"), QString comments = {},
          QString nameOfCourse = QStringLiteral("Course"))
        : person(personNumber), when(std::move(taken)), hours(courseHours),
          code(std::move(courseCode)), comment(std::move(comments)),
          courseName(std::move(nameOfCourse)) {}
    int person; // lobbytest person number
    QDateTime when;
    float hours;
    QString code;
    QString comment;
    QString courseName; // as the record holds it
};

// Carl Cole (1), Ann Able (2), Bea Bell (3, inactive), Dan Dale (4). `carlKey`, when given,
// is Carl's identity in Name.List and in his records instead of his whole-second stamp.
void WriteFiles(const QList<Entry>& entries, std::optional<double> carlKey = {}) {
    WriteUser();
    WritePersons({{"Carl", "Cole"}, {"Ann", "Able"}, {"Bea", "Bell", {}, false}, {"Dan", "Dale"}});
    if (carlKey) {
        store::PersonRecord carl = recordfiles::ReadPerson(1);
        carl.DateCreated = *carlKey;
        QVERIFY(recordfiles::WritePersons({carl}, 1));
    }
    WriteCourses({{"FIR-101", "Firearms", 8}});
    QList<store::TrainingRecord> records;
    for (const Entry& e : entries) {
        store::TrainingRecord r;
        r.TrainingDate = formats::DateValue(e.when);
        r.PersonKey =
            e.person == 1 && carlKey ? *carlKey : formats::WholeSecondValue(StampOf(e.person));
        r.CourseKey = StampOf(1001);
        r.CourseCode = e.code;
        r.CourseName = e.courseName;
        r.Hours = e.hours;
        r.Comments = e.comment;
        records << r;
    }
    QVERIFY(recordfiles::WriteTrainings(records));
}

// A key on exactly half a second (as other programs write them) whose general number text
// reads back as the other second.
double HalfSecondKey() {
    const double base = formats::DateValue(QDate(2010, 6, 1), QTime(8, 0));
    for (int second = 0; second < 1000; ++second) {
        const double key = base + (second + 0.5) / 86400.0;
        if (store::KeySecond(formats::DoubleText(key).toDouble()) != store::KeySecond(key))
            return key;
    }
    return 0;
}

QDateTime At(int y, int m, int d, int h = 9) {
    return QDateTime(QDate(y, m, d), QTime(h, 0));
}

// The Lobby on its search page, in March 2026 (after the test folder has set its clock).
std::unique_ptr<frmLobby> OpenOnSearch() {
    store::SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(10, 30)); });
    SignIn(4);
    auto lobby = OpenLobby();
    lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
    return lobby;
}

void Criteria(frmLobby& lobby, const QStringList& texts) {
    for (int i = 0; i < 5; ++i)
        lobby.searchControls.txtMatch[std::size_t(i)]->setText(texts.value(i));
}

QStringList Results(const frmLobby& lobby, int col = 0) {
    return ColumnTexts(*lobby.searchControls.gridSummary, col);
}

QStringList ShownTabs(const frmLobby& lobby) {
    QStringList shown;
    for (int i = 0; i < lobby.tabMain->count(); ++i) {
        if (lobby.tabMain->isTabVisible(i))
            shown << lobby.tabMain->tabText(i);
    }
    return shown;
}

} // namespace

class TestSearchPages : public QObject {
    Q_OBJECT

private slots:
    void init() {
        store::SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(10, 30)); });
    }
    void cleanup() { store::SetClock({}); }

    void entryChecks_data();
    void entryChecks();
    void criteriaRefuseWhatTheFilesCannotHold_data();
    void criteriaRefuseWhatTheFilesCannotHold();
    void aClickedFullDateBoxTakesWhatIsTyped_data();
    void aClickedFullDateBoxTakesWhatIsTyped();
    void searchButtonNeedsACriterion();
    void searchResultsAndFinished();
    void byCourseName_data();
    void byCourseName();
    void oneDayAndNothingFound();
    void onlyShownPersonsAreSearched();
    void summaryYearBounds();
    void summaryResultsAndFinished();
    void summaryAgainstRequiredHours();
    void fileProblemLeavesTheLobbyUsable();
    void historyFromTheResultsIsViewOnly();
    void personKeyOnHalfASecond_data();
    void personKeyOnHalfASecond();
    void choosingTheChosenOptionKeepsIt();
};

void TestSearchPages::entryChecks_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("box");
    QTest::newRow("unreadable from") << "13/45/2025"
                                     << ""
                                     << "FIR" << QStringList{"Check the first date entry"} << 0;
    QTest::newRow("unreadable to") << ""
                                   << "soon"
                                   << "FIR" << QStringList{"Check the second date entry"} << 1;
    QTest::newRow("to without from")
        << ""
        << "02/01/2025"
        << "FIR" << QStringList{"You can't have a 'to' date", "without a 'from' date..."} << 0;
    QTest::newRow("from after to")
        << "3/1/2025 "
        << "02/01/2025"
        << "FIR" << QStringList{"The 'from' date cannot be", "later than the 'to' date"} << 0;
    // Put in by the program rather than typed: it would match nothing, or everyone with
    // "do NOT match".
    const QStringList reason = {"the files hold Western", "European letters only"};
    QTest::newRow("a code the files cannot hold")
        << ""
        << "" << QStringLiteral("FI\u03a9")
        << QStringList{"Check the course code:", QStringLiteral("\u03a9 cannot be stored;")} +
               reason
        << 2;
    QTest::newRow("a date the files cannot hold")
        << QStringLiteral("\u65e5\u672c") << ""
        << "FIR"
        << QStringList{"Check the first date:", QStringLiteral("\u65e5 cannot be stored;")} + reason
        << 0;
}

void TestSearchPages::entryChecks() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, code);
    QFETCH(QStringList, lines);
    QFETCH(int, box);
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1)}});
    auto lobby = OpenOnSearch();
    Criteria(*lobby, {from, to, code});
    ScriptedAnswers answers;
    answers.expectMessage(QStringLiteral("Entry Error"), 1);
    lobby->searchControls.cmdMatch->Click();
    QVERIFY(answers.verifyDone());

    QCOMPARE(answers.lastAsked().lines, lines);
    QCOMPARE(answers.lastAsked().icon, 5);
    QCOMPARE(answers.lastAsked().buttons, QStringList{"&Okay"});
    QCOMPARE(QApplication::focusWidget(), lobby->searchControls.txtMatch[std::size_t(box)]);
    QCOMPARE(lobby->searchControls.txtMatch[0]->text(), from.trimmed()); // trimmed, otherwise kept
    QVERIFY(!lobby->tabMain->isTabVisible(frmLobby::ResultsPage));
}

// Typed or pasted, a character the files cannot hold is refused with the reason beside the
// box, and what the box held stays.
void TestSearchPages::criteriaRefuseWhatTheFilesCannotHold_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");  // key by key
    QTest::addColumn<QString>("pasted"); // at once, after the typing
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("refused");
    QTest::newRow("typed into the code")
        << 2 << QStringLiteral("FI\u03a9R") << QString() << "FIR" << QStringLiteral("\u03a9");
    QTest::newRow("pasted into the comments")
        << 3 << QStringLiteral("night") << QStringLiteral("\u65e5\u672c") << "night"
        << QStringLiteral("\u65e5");
    QTest::newRow("typed into the year")
        << 5 << QStringLiteral("20\u03a924") << QString() << "2024" << QStringLiteral("\u03a9");
}

void TestSearchPages::criteriaRefuseWhatTheFilesCannotHold() {
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(QString, refused);
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1)}});
    auto lobby = OpenOnSearch();
    const search::SearchControls& c = lobby->searchControls;
    if (box == 5)
        c.optSearch[2]->click();
    QLineEdit* target = box == 5 ? c.txtSummaryYear : c.txtMatch[std::size_t(box)];
    for (const QChar character : typed) // keys beyond ASCII arrive as text alone
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        target->paste();
    }
    QCOMPARE(target->text(), kept);
    auto* note = lobby->findChild<QLabel*>(QStringLiteral("refusalNote"));
    QVERIFY(note && note->isVisible());
    QCOMPARE(note->text(), refused + QStringLiteral(" cannot be stored; the files hold Western "
                                                    "European letters only"));
}

// A date box is full at its ten characters: the click that brings the focus selects the whole
// date, so that the date typed next replaces it.
void TestSearchPages::aClickedFullDateBoxTakesWhatIsTyped_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::newRow("from date") << 0 << "01/01/2025"
                               << "06/30/2024";
    QTest::newRow("to date") << 1 << "12/31/2025"
                             << "06/30/2024";
    QTest::newRow("year") << 5 << "2025"
                          << "2024";
}

void TestSearchPages::aClickedFullDateBoxTakesWhatIsTyped() {
    QFETCH(int, box);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1)}});
    auto lobby = OpenOnSearch();
    lobby->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(lobby.get()));
    const search::SearchControls& c = lobby->searchControls;
    if (box == 5)
        c.optSearch[2]->click();
    QLineEdit* target = box == 5 ? c.txtSummaryYear : c.txtMatch[std::size_t(box)];
    target->setText(before);
    c.optSearch[1]->setFocus();
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keyClicks(target, typed);
    QCOMPARE(target->text(), typed);
    // A second click places the cursor, to mend the date rather than replace it.
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    QVERIFY(!target->hasSelectedText());
}

void TestSearchPages::searchButtonNeedsACriterion() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1)}});
    auto lobby = OpenOnSearch();
    QVERIFY(!lobby->searchControls.cmdMatch->isEnabled());
    for (int i = 0; i < 4; ++i) {
        lobby->searchControls.txtMatch[std::size_t(i)]->setText(QStringLiteral("  "));
        QVERIFY(!lobby->searchControls.cmdMatch->isEnabled());
        lobby->searchControls.txtMatch[std::size_t(i)]->setText(QStringLiteral("x"));
        QVERIFY(lobby->searchControls.cmdMatch->isEnabled());
        lobby->searchControls.txtMatch[std::size_t(i)]->clear();
    }
    // The options' captions follow the display choice; the match options are set at opening.
    QCOMPARE(lobby->searchControls.optSearch[1]->text(),
             QStringLiteral("List all active persons\nthat have any "
                            "training records\nmatching the "
                            "following criteria..."));
    QCOMPARE(lobby->searchControls.optMatch[2]->text(),
             QStringLiteral("do NOT match\nthe above critera"));
    QCOMPARE(lobby->searchControls.cmdMatch->Caption(), QStringLiteral("Conduct the Search Now"));
}

// Code "fi" in any case, two criteria on one record: three persons, listed by sort name.
void TestSearchPages::searchResultsAndFinished() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 5, 1), 8, "FIR-101"},
                {2, At(2025, 6, 1), 8, "xfI"},
                {4, At(2025, 7, 1), 8, "fi"},
                {4, At(2024, 7, 1), 8, "CPR"},
                {3, At(2025, 7, 1), 8, "CPR"}});
    auto lobby = OpenOnSearch();
    const QString optionsCaption = lobby->tabMain->tabText(frmLobby::SearchOptionsPage);
    Criteria(*lobby, {"01/01/2025", "12/31/2025", "fi"});
    lobby->searchControls.cmdMatch->Click();

    QCOMPARE(Results(*lobby), (QStringList{"Ann Able", "Carl Cole", "Dan Dale"}));
    QCOMPARE(lobby->searchControls.gridSummary->TextMatrix(0, 0),
             QStringLiteral("Matching List of all active persons"));
    QCOMPARE(ShownTabs(*lobby), (QStringList{"Search Criteria", "Search Results"}));
    QCOMPARE(lobby->tabMain->currentIndex(), int(frmLobby::ResultsPage));
    QCOMPARE(lobby->tabMain->widget(frmLobby::ResultsPage)->accessibleName(),
             QStringLiteral("Search Results"));
    FlexGrid& grid = *lobby->searchControls.gridSummary;
    QCOMPARE(grid.Row(), 1);
    grid.SetRow(2);
    QCOMPARE(grid.CellBackColor(), QColor(240, 240, 240));
    grid.SetRow(1);
    QVERIFY(!grid.ColIsVisible(2));
    QVERIFY(!lobby->cmdBackupRestore->isEnabled());
    QVERIFY(!lobby->searchControls.frame[1]->isEnabled());
    QVERIFY(lobby->searchControls.cmdMatch->isHidden());
    QVERIFY(!lobby->searchControls.optSearch[2]->isEnabled());
    QVERIFY(lobby->timerFlashButton->isActive());
    QCOMPARE(lobby->searchControls.cmdMatch->Caption(), QStringLiteral("Conduct the Search Now"));

    lobby->searchControls.cmdFinishedSummary->Click();
    QVERIFY(!lobby->timerFlashButton->isActive());
    QCOMPARE(ShownTabs(*lobby),
             (QStringList{"Name List", "Course Index", optionsCaption, "Who is Due"}));
    QCOMPARE(lobby->tabMain->currentIndex(), int(frmLobby::SearchOptionsPage));
    QCOMPARE(lobby->tabMain->tabText(frmLobby::ResultsPage), QString());
    QVERIFY(lobby->cmdBackupRestore->isEnabled());
    QVERIFY(lobby->searchControls.frame[1]->isEnabled());
    QVERIFY(!lobby->searchControls.cmdMatch->isHidden());
    QVERIFY(lobby->searchControls.optSearch[2]->isEnabled());
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.Cols(), 1);
    QCOMPARE(lobby->searchControls.txtMatch[2]->text(), QStringLiteral("fi")); // the criteria stay
}

void TestSearchPages::byCourseName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matching");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("count");
    QTest::newRow("any case, part")
        << "FIREARMS" << true << QStringList{"Carl Cole", "Dan Dale"} << "2 persons";
    QTest::newRow("across a blank") << "arms qu" << true << QStringList{"Carl Cole"} << "1 person";
    // Ann alone was credited with a CPR course.
    QTest::newRow("do NOT match") << "cpr" << false << QStringList{"Carl Cole", "Dan Dale"}
                                  << "2 persons";
}

// The course name as each record holds it, by the code's rule, and the count of the list.
void TestSearchPages::byCourseName() {
    QFETCH(QString, name);
    QFETCH(bool, matching);
    TestFolder folder;
    WriteFiles({{1, At(2025, 5, 1), 8, "FIR-101", {}, "Firearms Qualification"},
                {2, At(2025, 6, 1), 8, "CPR-1", {}, "CPR Renewal"},
                {4, At(2025, 7, 1), 8, "UOF-2", {}, "Use of firearms"},
                {3, At(2025, 7, 1), 8, "FIR-101", {}, "Firearms Qualification"}});
    auto lobby = OpenOnSearch();
    const search::SearchControls& c = lobby->searchControls;
    // Tab goes from the code to the name to the comments, each box named for a screen reader.
    c.txtMatch[2]->setFocus();
    QTest::keyClick(c.txtMatch[2], Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), c.txtMatch[4]);
    QCOMPARE(c.txtMatch[4]->accessibleName(), QStringLiteral("Course Name (whole or partial)"));
    QTest::keyClicks(c.txtMatch[4], name);
    QTest::keyClick(c.txtMatch[4], Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), c.txtMatch[3]);
    c.optMatch[matching ? 1 : 2]->click();
    c.cmdMatch->Click();

    QTEST(Results(*lobby), "listed");
    QTEST(c.lblPersonCount->text(), "count");
    QVERIFY(c.lblPersonCount->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(c.lblPersonCount)->text(QAccessible::Name),
             c.lblPersonCount->text());
    c.cmdFinishedSummary->Click();
    QVERIFY(!c.lblPersonCount->isVisible());
}

// A from-date alone searches that day, at any time of it; "do NOT match" lists those
// without a record too; nobody found is told and the results stay closed.
void TestSearchPages::oneDayAndNothingFound() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1, 23)}, {2, At(2025, 1, 2)}, {4, At(2024, 12, 31)}});
    auto lobby = OpenOnSearch();
    Criteria(*lobby, {"01/01/2025"});
    lobby->searchControls.cmdMatch->Click();
    QCOMPARE(lobby->searchControls.txtMatch[1]->text(), QStringLiteral("01/01/2025"));
    QCOMPARE(Results(*lobby), QStringList{"Carl Cole"});
    lobby->searchControls.cmdFinishedSummary->Click();

    lobby->searchControls.optMatch[2]->click();
    QCOMPARE(lobby->searchControls.optMatch[1]->palette().color(QPalette::WindowText),
             QColor(128, 128, 128));
    Criteria(*lobby, {"", "", "", "range"});
    lobby->searchControls.cmdMatch->Click();
    QCOMPARE(Results(*lobby), (QStringList{"Ann Able", "Carl Cole", "Dan Dale"}));
    lobby->searchControls.cmdFinishedSummary->Click();

    lobby->searchControls.optMatch[1]->click();
    ScriptedAnswers answers;
    answers.expectMessage(QStringLiteral("No Matching Records"), 1);
    lobby->searchControls.cmdMatch->Click();
    QVERIFY(answers.verifyDone());
    QCOMPARE(answers.lastAsked().lines, (QStringList{"No one had any training record(s)",
                                                     "that fit the given search criteria."}));
    QCOMPARE(answers.lastAsked().icon, 2);
    QVERIFY(!lobby->tabMain->isTabVisible(frmLobby::ResultsPage));
    QCOMPARE(lobby->searchControls.cmdMatch->Caption(), QStringLiteral("Conduct the Search Now"));
    QCOMPARE(lobby->searchControls.txtMatch[3]->text(), QStringLiteral("range"));
}

void TestSearchPages::onlyShownPersonsAreSearched() {
    TestFolder folder;
    WriteFiles({{3, At(2025, 1, 1), 8, "FIR-1"}, {1, At(2025, 1, 1), 8, "FIR-1"}});
    auto lobby = OpenOnSearch();
    Criteria(*lobby, {"", "", "FIR"});
    lobby->searchControls.cmdMatch->Click();
    QCOMPARE(Results(*lobby), QStringList{"Carl Cole"}); // Bea Bell is inactive
    lobby->searchControls.cmdFinishedSummary->Click();
    lobby->tabMain->setCurrentIndex(frmLobby::NameListPage);
    lobby->nameControls.optDisplay[3]->click();
    lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
    lobby->searchControls.cmdMatch->Click();
    QCOMPARE(Results(*lobby), (QStringList{"Bea Bell", "Carl Cole"}));
}

// Carl 24 hours in 2025, Ann 23.99, Dan none (Bea, inactive, none): the required hours set by
// a Read/Edit/Add/Delete user, then the summary with and without the persons below them and
// the persons without training, as the Name List shows persons.
void TestSearchPages::summaryAgainstRequiredHours() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 2, 1), 16},
                {1, At(2025, 3, 1), 8},
                {2, At(2025, 3, 1), 23.99f},
                {3, At(2024, 3, 1), 40}});
    WritePersons({{"Carl", "Cole", {}, true, "Patrol"},
                  {"Ann", "Able", {}, true, "Detectives"},
                  {"Bea", "Bell", {}, false, "Patrol"},
                  {"Dan", "Dale", {}, true, "Traffic"}});
    auto lobby = OpenOnSearch();
    search::SearchControls& c = lobby->searchControls;
    c.optSearch[2]->click();
    QCOMPARE(c.lblRequiredHours->text(), QStringLiteral("Required training hours per year: none"));
    QVERIFY(!c.chkBelowRequired->isEnabled());
    {
        ScriptedAnswers answers;
        answers.expectInput(QStringLiteral("24x"), QStringLiteral("Required Training Hours"))
            .expectMessage(QStringLiteral("Entry Error"), 1)
            .expectInput(QStringLiteral(" 24 "), QStringLiteral("Required Training Hours"));
        c.cmdRequiredHours->Click();
        c.cmdRequiredHours->Click();
        QVERIFY(answers.verifyDone());
    }
    QCOMPARE(c.lblRequiredHours->text(), QStringLiteral("Required training hours per year: 24"));
    QVERIFY(c.chkBelowRequired->isEnabled());

    struct Case {
        bool onlyBelow;
        bool withoutTraining;
        bool everyone; // the Name List shows the inactive persons too
        QStringList names;
        QStringList hours;
        QStringList organizations;
        QString count;
        QString total;
    };
    const QList<Case> cases = {
        {false,
         false,
         false,
         {"Ann Able", "Carl Cole"},
         {"23.99", "24"},
         {"Detectives", "Patrol"},
         "2 persons; 1 below 24 hours",
         "47.99"},
        {true,
         false,
         false,
         {"Ann Able"},
         {"23.99"},
         {"Detectives"},
         "2 persons; 1 below 24 hours",
         "23.99"},
        {false,
         true,
         false,
         {"Ann Able", "Carl Cole", "Dan Dale"},
         {"23.99", "24", "0"},
         {"Detectives", "Patrol", "Traffic"},
         "3 persons; 2 below 24 hours",
         "47.99"},
        {true,
         true,
         true,
         {"Ann Able", "Bea Bell", "Dan Dale"},
         {"23.99", "0", "0"},
         {"Detectives", "Patrol", "Traffic"},
         "4 persons; 3 below 24 hours",
         "23.99"},
    };
    for (const Case& k : cases) {
        if (k.everyone) {
            lobby->tabMain->setCurrentIndex(frmLobby::NameListPage);
            lobby->nameControls.optDisplay[3]->click();
            lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
        }
        c.chkBelowRequired->setChecked(k.onlyBelow);
        c.chkWithoutTraining->setChecked(k.withoutTraining);
        c.txtSummaryYear->setText(QStringLiteral("2025"));
        c.cmdAnnualSummary->Click();
        QCOMPARE(Results(*lobby), k.names);
        QCOMPARE(Results(*lobby, 1), k.hours);
        QCOMPARE(Results(*lobby, 2), k.organizations);
        QCOMPARE(c.lblPersonCount->text(), k.count);
        QCOMPARE(c.lblTotalHours->text(), QStringLiteral("Total Hours: ") + k.total);
        const print::ReportTable table = lobby->SearchPages().Table();
        QCOMPARE(table.columns.size(), std::size_t(3));
        QCOMPARE(table.rows.front().cells.value(2), k.organizations.front());
        c.cmdFinishedSummary->Click();
    }

    // Below Read/Edit/Add/Delete the button is greyed, and pressed anyway it changes nothing.
    lobby.reset();
    SignIn(3);
    lobby = OpenLobby();
    lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
    ZovButton* button = lobby->searchControls.cmdRequiredHours;
    QVERIFY(!button->isEnabled());
    ScriptedAnswers answers;
    answers.expectMessage(QStringLiteral("Not authorized"), 1);
    lobby->SearchPages().cmdRequiredHours_Click();
    QVERIFY(answers.verifyDone());
    store::TrainingRules rules;
    QVERIFY(store::ReadTrainingRules(rules));
    QCOMPARE(rules.requiredHours, 24.0f);

    // A rules file that cannot be read is told, and the summary goes on without the hours.
    {
        QFile broken(store::TrainingRulesFileName);
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not the rules\n") > 0);
    }
    lobby->SearchPages().Fill();
    QVERIFY(lobby->searchControls.lblRequiredHours->text().endsWith(
        "\"Training.Rules\" cannot be read"));
    answers.expectMessage(QStringLiteral("File Problem"), 1);
    lobby->searchControls.optSearch[2]->click();
    lobby->searchControls.txtSummaryYear->setText(QStringLiteral("2025"));
    lobby->searchControls.cmdAnnualSummary->Click();
    QVERIFY(answers.verifyDone());
    QCOMPARE(lobby->searchControls.lblPersonCount->text(), QStringLiteral("2 persons"));
}

void TestSearchPages::summaryYearBounds() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1)}});
    auto lobby = OpenOnSearch();
    lobby->searchControls.optSearch[2]->click();
    QVERIFY(lobby->searchControls.frame[2]->isVisible());
    QVERIFY(!lobby->searchControls.frame[1]->isVisible());
    QCOMPARE(QApplication::focusWidget(), lobby->searchControls.txtSummaryYear);
    const QList<std::pair<QString, bool>> years = {{"1954", false}, {"1955", true}, {"2026", true},
                                                   {"2027", false}, {"20x", false}, {"", false}};
    for (const auto& [year, enabled] : years) {
        lobby->searchControls.txtSummaryYear->setText(year);
        QCOMPARE(lobby->searchControls.cmdAnnualSummary->isEnabled(), enabled);
    }
}

// 8 + 4.5 in 2025 (16 in 2024 left out) and 3 late on 31 December: 12.5 and 3, 15.5 in all.
void TestSearchPages::summaryResultsAndFinished() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 2, 1), 8},
                {1, At(2025, 6, 1), 4.5f},
                {1, At(2024, 6, 1), 16},
                {2, QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)), 3},
                {4, At(2026, 1, 1), 2}});
    auto lobby = OpenOnSearch();
    lobby->searchControls.optSearch[2]->click();
    lobby->searchControls.txtSummaryYear->setText(QStringLiteral("2025"));
    lobby->searchControls.cmdAnnualSummary->Click();

    QCOMPARE(Results(*lobby), (QStringList{"Ann Able", "Carl Cole"}));
    QCOMPARE(Results(*lobby, 1), (QStringList{"3", "12.5"}));
    QCOMPARE(ShownTabs(*lobby), QStringList{"Annual Summary - 2025"});
    QCOMPARE(lobby->searchControls.lblTotalHours->text(), QStringLiteral("Total Hours: 15.5"));
    QVERIFY(lobby->searchControls.lblTotalHours->isVisible());
    QCOMPARE(lobby->searchControls.lblPersonCount->text(), QStringLiteral("2 persons"));
    // A screen reader hears the figures: the total with its number, the page by its tab.
    QCOMPARE(QAccessible::queryAccessibleInterface(lobby->searchControls.lblTotalHours)
                 ->text(QAccessible::Name),
             QStringLiteral("Total Hours: 15.5"));
    QCOMPARE(lobby->tabMain->widget(frmLobby::ResultsPage)->accessibleName(),
             QStringLiteral("Annual Summary - 2025"));
    QCOMPARE(lobby->searchControls.gridSummary->ColAlignment(1) & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QVERIFY(lobby->searchControls.gridSummary->ColIsVisible(2)); // the organization
    QVERIFY(!lobby->searchControls.gridSummary->ColIsVisible(3));
    QVERIFY(lobby->timerFlashButton->isActive());
    {
        // The list prints after its question; declined, nothing is printed.
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print the Search/Summary List?"), 2);
        lobby->searchControls.cmdSummaryPrint->Click();
        QVERIFY(answers.verifyDone());
    }

    lobby->searchControls.cmdFinishedSummary->Click();
    QCOMPARE(ShownTabs(*lobby),
             (QStringList{"Name List", "Course Index", "Search && Summary Options", "Who is Due"}));
    QVERIFY(lobby->searchControls.lblTotalHours->text().isEmpty());
    QVERIFY(!lobby->searchControls.lblTotalHours->isVisible());

    ScriptedAnswers answers;
    answers.expectMessage(QStringLiteral("No Matching Records"), 1);
    lobby->searchControls.txtSummaryYear->setText(QStringLiteral("2023"));
    lobby->searchControls.cmdAnnualSummary->Click();
    QVERIFY(answers.verifyDone());
    QCOMPARE(answers.lastAsked().lines,
             (QStringList{"There were no training records", "found in the year 2023"}));
    QCOMPARE(lobby->searchControls.cmdAnnualSummary->Caption(),
             QStringLiteral("Conduct the Summary Now"));
}

// A file in the way: told with its name, the Lobby usable again, the criteria as typed.
void TestSearchPages::fileProblemLeavesTheLobbyUsable() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1)}});
    auto lobby = OpenOnSearch();
    QVERIFY(QFile::remove(QStringLiteral("Training.Records")));
    QVERIFY(QDir().mkdir(QStringLiteral("Training.Records")));
    Criteria(*lobby, {"", "", "FIR"});
    for (ZovButton* button :
         {lobby->searchControls.cmdMatch, lobby->searchControls.cmdAnnualSummary}) {
        if (button == lobby->searchControls.cmdAnnualSummary) {
            lobby->searchControls.optSearch[2]->click();
            lobby->searchControls.txtSummaryYear->setText(QStringLiteral("2025"));
        }
        const QString caption = button->Caption();
        ScriptedAnswers answers;
        answers.expectMessage(QString(), 1);
        button->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(' ').contains(QStringLiteral("Training.Records")));
        QVERIFY(lobby->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(button->Caption(), caption);
        QVERIFY(!lobby->tabMain->isTabVisible(frmLobby::ResultsPage));
        QCOMPARE(lobby->searchControls.txtMatch[2]->text(), QStringLiteral("FIR"));
    }
}

void TestSearchPages::historyFromTheResultsIsViewOnly() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1), 8, "FIR-1"}, {2, At(2025, 1, 1), 8, "FIR-1"}});
    auto lobby = OpenOnSearch();
    Criteria(*lobby, {"", "", "FIR"});
    lobby->searchControls.cmdMatch->Click();
    lobby->searchControls.gridSummary->SetRow(2); // Carl Cole
    ScriptedAnswers answers;
    answers.expectWindow([](QWidget* w) {
        auto* history = qobject_cast<frmTrainingHistory*>(w);
        QVERIFY(history);
        QVERIFY(history->cmdEditTraining->isHidden() || !history->cmdEditTraining->isEnabled());
        QVERIFY(history->Caption().contains(QStringLiteral("Carl Cole")));
        history->close();
    });
    lobby->searchControls.cmdSummaryTrainingHistory->Click();
    QVERIFY(answers.verifyDone());
}

void TestSearchPages::personKeyOnHalfASecond_data() {
    QTest::addColumn<bool>("summary");
    QTest::newRow("search") << false;
    QTest::newRow("summary") << true;
}

// The persons are searched by their identities as stored, not as the Name List's text shows
// them, which names the other second.
void TestSearchPages::personKeyOnHalfASecond() {
    QFETCH(bool, summary);
    const double key = HalfSecondKey();
    QVERIFY(key > 0);
    TestFolder folder;
    WriteFiles({{1, At(2025, 3, 1), 8, "FIR-1"}, {2, At(2025, 4, 1), 2.5f, "FIR-1"}}, key);
    auto lobby = OpenOnSearch();
    if (summary) {
        lobby->searchControls.optSearch[2]->click();
        lobby->searchControls.txtSummaryYear->setText(QStringLiteral("2025"));
        lobby->searchControls.cmdAnnualSummary->Click();
        QCOMPARE(Results(*lobby, 1), (QStringList{"2.5", "8"}));
    } else {
        Criteria(*lobby, {"", "", "FIR"});
        lobby->searchControls.cmdMatch->Click();
    }
    QCOMPARE(Results(*lobby), (QStringList{"Ann Able", "Carl Cole"}));
}

// Choosing the option already chosen, by click or by a screen reader's toggle, keeps it;
// the search that follows locks the criteria and Finished unlocks them.
void TestSearchPages::choosingTheChosenOptionKeepsIt() {
    TestFolder folder;
    WriteFiles({{1, At(2025, 1, 1), 8, "FIR-1"}});
    auto lobby = OpenOnSearch();
    const search::SearchControls& c = lobby->searchControls;
    for (QRadioButton* option : {c.optSearch[1], c.optMatch[1]}) {
        option->click();
        QVERIFY(option->isChecked());
        QAccessible::queryAccessibleInterface(option)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
        QVERIFY(option->isChecked());
    }
    Criteria(*lobby, {"", "", "FIR"});
    c.cmdMatch->Click();
    QCOMPARE(Results(*lobby), QStringList{"Carl Cole"});
    c.optSearch[1]->click();
    QVERIFY(c.optSearch[1]->isChecked());
    c.cmdFinishedSummary->Click();
    QVERIFY(c.frame[1]->isEnabled());
    QVERIFY(!c.cmdMatch->isHidden());
    QVERIFY(c.optSearch[2]->isEnabled());
}

QTEST_MAIN(TestSearchPages)
#include "test_searchpages.moc"
