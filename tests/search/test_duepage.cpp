// The Lobby's "Who is Due" page: what it lists as it is chosen, the date, window and filters
// as they are typed, the view-only history of the highlighted row, and its printout and saved
// copy, which read as the grid does.

#include "lobby/test_lobby_data.h"
#include "print/ListExport.h"
#include "print/RecordingPageWriter.h"
#include "print/ReportPrinter.h"
#include "search/DuePage.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "store/TrainingRules.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace lobbytest;

namespace {

// Carl Cole (1, North), Ann Able (2), Bea Bell (3, inactive), Dan Dale (4). FIR-101 runs out
// after 12 months; CPR-1 is required of every active person. Today is 15 March 2026.
void WriteFiles(bool withRules = true) {
    WriteUser();
    WritePersons({{"Carl", "Cole", {}, true, "North Precinct"},
                  {"Ann", "Able"},
                  {"Bea", "Bell", {}, false},
                  {"Dan", "Dale"}});
    WriteCourses({{"FIR-101", "Firearms", 8}, {"CPR-1", "First Aid", 4}});
    const struct {
        int person;
        int course;
        QDate date;
    } credits[] = {{1, 1001, QDate(2025, 4, 1)},
                   {2, 1001, QDate(2025, 3, 14)},
                   {2, 1002, QDate(2020, 5, 5)},
                   {3, 1001, QDate(2024, 1, 1)}};
    QList<store::TrainingRecord> records;
    for (const auto& c : credits) {
        store::TrainingRecord r;
        r.TrainingDate = formats::DateValue(c.date, QTime(9, 0));
        r.PersonKey = formats::WholeSecondValue(StampOf(c.person));
        r.CourseKey = formats::WholeSecondValue(StampOf(c.course));
        r.CourseCode = c.course == 1001 ? QStringLiteral("FIR-101") : QStringLiteral("CPR-1");
        r.Hours = 8;
        records << r;
    }
    QVERIFY(recordfiles::WriteTrainings(records));
    store::TrainingRules rules;
    if (withRules) {
        rules.SetRule(formats::WholeSecondValue(StampOf(1001)), {12, false});
        rules.SetRule(formats::WholeSecondValue(StampOf(1002)), {0, true});
    }
    QVERIFY(store::WriteTrainingRules(rules));
}

std::unique_ptr<frmLobby> OpenOnDue() {
    store::SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(10, 30)); });
    SignIn(4);
    auto lobby = OpenLobby();
    lobby->tabMain->setCurrentIndex(frmLobby::DuePage);
    return lobby;
}

// Each data row's shown cells joined by "|".
QStringList Rows(const FlexGrid& grid) {
    QStringList rows;
    for (int r = 1; r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c <= 6; ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

class TestDuePage : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { store::SetClock({}); }

    void listsAsChosenAndAsTyped_data() {
        QTest::addColumn<QStringList>("typed"); // date, days, organization, course
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("count");
        const QString carlCpr = "Carl Cole|North Precinct|CPR-1|||never taken|First Aid";
        const QString danCpr = "Dan Dale||CPR-1|||never taken|First Aid";
        const QString annFir = "Ann Able||FIR-101|03/14/2025|03/14/2026|-1|Firearms";
        const QString carlFir =
            "Carl Cole|North Precinct|FIR-101|04/01/2025|04/01/2026|17|Firearms";
        QTest::newRow("as chosen: today, 60 days")
            << QStringList{} << QStringList{carlCpr, danCpr, annFir, carlFir}
            << "4 due: 2 never taken, 1 overdue, 1 within 60 days";
        QTest::newRow("window to the day before Carl's")
            << QStringList{"", "16"} << QStringList{carlCpr, danCpr, annFir}
            << "3 due: 2 never taken, 1 overdue, 0 within 16 days";
        QTest::newRow("a later date: both overdue")
            << QStringList{"4/2/2026", "0"}
            << QStringList{carlCpr, danCpr, "Ann Able||FIR-101|03/14/2025|03/14/2026|-19|Firearms",
                           "Carl Cole|North Precinct|FIR-101|04/01/2025|04/01/2026|-1|Firearms"}
            << "4 due: 2 never taken, 2 overdue, 0 within 0 days";
        QTest::newRow("organization, any case")
            << QStringList{"", "", "north"} << QStringList{carlCpr, carlFir}
            << "2 due: 1 never taken, 0 overdue, 1 within 60 days";
        QTest::newRow("course name")
            << QStringList{"", "", "", "FIREARMS"} << QStringList{annFir, carlFir}
            << "2 due: 0 never taken, 1 overdue, 1 within 60 days";
        QTest::newRow("no date") << QStringList{"03/45/2026"} << QStringList{}
                                 << "Type a date, and a number of days from 0 to 9999.";
    }
    void listsAsChosenAndAsTyped() {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, rows);
        QFETCH(QString, count);
        TestFolder folder;
        WriteFiles();
        auto lobby = OpenOnDue();
        const search::DueControls& c = lobby->dueControls;
        QCOMPARE(c.txtDue[0]->text(), QStringLiteral("03/15/2026"));
        QCOMPARE(c.txtDue[1]->text(), QStringLiteral("60"));
        for (int i = 0; i < typed.size(); ++i) {
            if (!typed[i].isEmpty())
                c.txtDue[std::size_t(i)]->setText(typed[i]);
        }
        QCOMPARE(Rows(*c.gridDue), rows);
        QCOMPARE(c.lblDueCount->text(), count);
        QCOMPARE(c.cmdDueTrainingHistory->isEnabled(), !rows.isEmpty());
        QCOMPARE(c.cmdDuePrint->isEnabled(), !rows.isEmpty());
    }

    // Without rules the page is there, and says why nobody is due.
    void noRulesNothingDue() {
        TestFolder folder;
        WriteFiles(false);
        auto lobby = OpenOnDue();
        QVERIFY(lobby->tabMain->isTabEnabled(frmLobby::DuePage));
        QCOMPARE(lobby->dueControls.gridDue->Rows(), 1);
        QCOMPARE(lobby->dueControls.lblDueCount->text(),
                 QStringLiteral(
                     "No course has a renewal period or is required for all active persons."));
    }

    void historyOfTheHighlightedRowIsViewOnly() {
        TestFolder folder;
        WriteFiles();
        auto lobby = OpenOnDue();
        lobby->dueControls.gridDue->SetRow(3); // Ann Able's firearms
        ScriptedAnswers answers;
        answers.expectWindow([](QWidget* w) {
            auto* history = qobject_cast<frmTrainingHistory*>(w);
            QVERIFY(history);
            QVERIFY(history->cmdEditTraining->isHidden() || !history->cmdEditTraining->isEnabled());
            QVERIFY(history->Caption().contains(QStringLiteral("Ann Able")));
            history->close();
        });
        lobby->dueControls.cmdDueTrainingHistory->Click();
        QVERIFY(answers.verifyDone());
    }

    // The printout and the saved copy hold the grid's rows, cell for cell, in its order.
    void printoutAndCopyReadAsTheGrid() {
        TestFolder folder;
        WriteFiles();
        auto lobby = OpenOnDue();
        const print::ReportTable table = lobby->Due().Table();
        QCOMPARE(table.title, QStringLiteral("Who is Due"));
        QStringList tableRows;
        for (const print::ReportRow& row : table.rows)
            tableRows << row.cells.join(u'|');
        QCOMPARE(tableRows, Rows(*lobby->dueControls.gridDue));

        print::RecordingPageWriter out;
        print::PrintTableReport(out, table, *lobby);
        for (const char* cell : {"Days Left", "never taken", "04/01/2026", "Firearms"})
            QVERIFY2(out.Find(QString::fromLatin1(cell)), cell);
        QVERIFY(out.Find(lobby->dueControls.lblDueCount->text()));

        const QString path = folder.filePath(QStringLiteral("due.csv"));
        QVERIFY(print::WriteCsv(table, path));
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"));
        QVERIFY(lines.value(0).startsWith(QStringLiteral("Name,Organization,Code,Last Date")));
        QVERIFY(lines.value(4).startsWith(
            QStringLiteral("Carl Cole,North Precinct,FIR-101,04/01/2025,04/01/2026,17,Firearms,")));
    }
};

QTEST_MAIN(TestDuePage)
#include "test_duepage.moc"
