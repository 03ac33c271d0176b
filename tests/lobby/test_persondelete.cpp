// Deleting a person from the Lobby: the two questions, the count of training records that
// went, and the row highlighted afterwards.

#include "forms/ListGrid.h"
#include "lobby/test_lobby_data.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>

using namespace lobbytest;

namespace {

QList<Person> Persons(int count) {
    QList<Person> persons;
    for (int i = 1; i <= count; ++i)
        persons << Person(QStringLiteral("P%1").arg(i),
                          QStringLiteral("Last%1").arg(QChar('A' + i)));
    return persons;
}

// Training.Records with one record per entry for the person of that number.
void WriteOwners(const QList<int>& owners) {
    auto& table = store::Trainings();
    QVERIFY(table.Open());
    int n = 0;
    for (int owner : owners) {
        store::TrainingRecord& r = table.Buffer();
        r = store::TrainingRecord();
        r.TrainingDate = formats::DateValue(QDate(2024, 1, 1).addDays(n));
        r.PersonKey = formats::WholeSecondValue(StampOf(owner));
        r.CourseCode = QStringLiteral("C-%1").arg(++n);
        r.Hours = 8;
        QVERIFY(table.Write(n));
    }
    table.Close();
}

} // namespace

class TestPersonDelete : public QObject {
    Q_OBJECT

private slots:
    void deletesThePersonAndHisRecords_data() {
        QTest::addColumn<int>("persons");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("owners");
        QTest::addColumn<QStringList>("report");
        QTest::addColumn<int>("rowAfter"); // 0: the list is empty
        QTest::newRow("only person")
            << 1 << 1 << QList<int>{}
            << QStringList{"There were 0 training records", "associated with this person."} << 0;
        QTest::newRow("row 1") << 3 << 1 << QList<int>{2}
                               << QStringList{"There were 0 training records",
                                              "associated with this person."}
                               << 1;
        QTest::newRow("row 7, 5 of 12")
            << 8 << 7 << QList<int>{7, 1, 7, 2, 7, 3, 7, 4, 7, 5, 6, 8}
            << QStringList{"There were 5 training records", "associated with this person",
                           "that were permanently deleted."}
            << 6;
    }
    void deletesThePersonAndHisRecords() {
        QFETCH(int, persons);
        QFETCH(int, row);
        QFETCH(QList<int>, owners);
        QFETCH(QStringList, report);
        QFETCH(int, rowAfter);
        TestFolder folder;
        WritePersons(Persons(persons));
        if (!owners.isEmpty())
            WriteOwners(owners);
        SignIn(4);
        ScriptedAnswers answers;
        auto lobby = OpenLobby();
        FlexGrid& grid = *lobby->nameControls.gridName;
        listgrid::SelectRow(grid, row, 1, false);
        const QString name = grid.TextMatrix(row, 0);

        answers.expectMessage(QStringLiteral("Print Training History before Deletion?"), 2)
            .expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("For your information..."), 1);
        if (rowAfter > 0)
            answers.expectMessage(QStringLiteral("Name removed"), 1);
        else
            answers.expectMessage(QStringLiteral("No Names on File..."), 1);
        lobby->nameControls.cmdDeleteName->Click();
        QVERIFY(answers.verifyDone());
        const auto& asked = answers.asked();
        QCOMPARE(asked[2].lines, report);
        QVERIFY(!ColumnTexts(grid, 0).contains(name));
        QCOMPARE(grid.Rows() - 1, persons - 1);
        if (rowAfter > 0)
            QCOMPARE(grid.Row(), rowAfter);
        else
            QVERIFY(lobby->nameControls.cmdDeleteName->isHidden());
        QCOMPARE(QFile(QStringLiteral("Name.List")).size(), qint64(1000 * (persons - 1)));
        QVERIFY(!QFile::exists(QStringLiteral("TempFile.$$$")));
        int left = 0;
        for (int owner : owners)
            left += owner != row ? 1 : 0;
        QCOMPARE(QFile(QStringLiteral("Training.Records")).size(), qint64(300 * left));
    }

    // Yes at the first question shows the history and deletes nothing; Esc or Cancel at the
    // first question and Esc or No at the second delete nothing either.
    void questionsThatDeleteNothing_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second"); // -1: not asked
        QTest::addColumn<bool>("history");
        QTest::newRow("Yes: the history") << 1 << -1 << true;
        QTest::newRow("Esc at the first") << 0 << -1 << false;
        QTest::newRow("Cancel this deletion") << 3 << -1 << false;
        QTest::newRow("Esc at the second") << 2 << 0 << false;
        QTest::newRow("No, do NOT delete") << 2 << 2 << false;
    }
    void questionsThatDeleteNothing() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, history);
        TestFolder folder;
        WritePersons(Persons(2));
        WriteOwners({1, 2});
        SignIn(4);
        auto lobby = OpenLobby();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print Training History before Deletion?"), first);
        if (second >= 0)
            answers.expectMessage(QStringLiteral("Confirm Deletion"), second);
        if (history)
            answers.expectWindow([](QWidget* w) { QVERIFY(qobject_cast<frmTrainingHistory*>(w)); });
        const QByteArray names = [] {
            QFile f(QStringLiteral("Name.List"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        lobby->nameControls.cmdDeleteName->Click();
        QVERIFY(answers.verifyDone());
        QFile f(QStringLiteral("Name.List"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), names);
        QCOMPARE(QFile(QStringLiteral("Training.Records")).size(), qint64(600));
    }

    // A rewrite that cannot be made is told, naming the file; nobody is deleted.
    void failedRemovalIsToldAndKeepsThePerson() {
        TestFolder folder;
        WritePersons(Persons(3));
        WriteOwners({1, 2, 3});
        SignIn(4);
        auto lobby = OpenLobby();
        listgrid::SelectRow(*lobby->nameControls.gridName, 2, 1, false);
        QVERIFY(QDir().mkdir(QStringLiteral("TempFile.$$$")));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print Training History before Deletion?"), 2)
            .expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("File Problem"), 1);
        lobby->nameControls.cmdDeleteName->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("TempFile.$$$")));
        QCOMPARE(lobby->nameControls.gridName->Rows(), 4);
        QVERIFY(lobby->isEnabled());
        QCOMPARE(QFile(QStringLiteral("Name.List")).size(), qint64(3000));
        QCOMPARE(QFile(QStringLiteral("Training.Records")).size(), qint64(900));
    }

    // The person went but the disk filled before the training records did: the user hears
    // that the next start finishes the deletion.
    void halfWayFailureIsFinishedAtNextStart() {
        TestFolder folder;
        WritePersons(Persons(3));
        WriteOwners({1, 2, 3});
        SignIn(4);
        auto lobby = OpenLobby();
        listgrid::SelectRow(*lobby->nameControls.gridName, 2, 1, false);
        bool namesDone = false;
        store::testing::SetRemovalHook([&](store::RemovalStep step) {
            namesDone = namesDone || step == store::RemovalStep::FolderFlushed;
            return true;
        });
        store::io::testing::SetWriteHook([&](const QString&, qint64 wanted, int& error) {
            if (!namesDone)
                return wanted;
            error = ENOSPC;
            return qint64(0);
        });
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print Training History before Deletion?"), 2)
            .expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("File Problem"), 1);
        lobby->nameControls.cmdDeleteName->Click();
        store::io::testing::SetWriteHook({});
        store::testing::SetRemovalHook({});
        QVERIFY(answers.verifyDone());
        const QString told = answers.lastAsked().lines.join(u' ');
        QVERIFY2(told.contains(QStringLiteral("will be finished the next time")), qPrintable(told));
        QVERIFY(told.contains(QStringLiteral("No space left on device")));
        QCOMPARE(QFile(QStringLiteral("Name.List")).size(), qint64(2000));
        QVERIFY(QFile::exists(store::PersonRemovalJournal));
    }
};

QTEST_MAIN(TestPersonDelete)
#include "test_persondelete.moc"
