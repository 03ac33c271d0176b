// Imports from a CSV file through their window, opened from the Lobby's two lists: the
// columns matched and changed, the preview of every row, the rejected rows saved, the one
// append on confirmation, a plan judged again when the files changed, and the level needed.

#include "forms/frmImport.h"
#include "lobby/NamePage.h"
#include "lobby/test_lobby_data.h"
#include "store/Csv.h"
#include "store/Formats.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <tuple>

using namespace lobbytest;
using Kind = store::csvimport::Kind;
using Field = store::csvimport::Field;

namespace {

const QString TrainingTitle = QStringLiteral("Mirtavel - Import Training Records");
const QString PersonsTitle = QStringLiteral("Mirtavel - Import Persons");

// Ann Lee, Bob Ray and two Dan Foxes; FIR-101 of 8 hours and FA-1 of 4; Bob has FIR-101 on
// 01/10/2024 already.
void WriteData() {
    WritePersons({{QStringLiteral("Ann"), QStringLiteral("Lee")},
                  {QStringLiteral("Bob"), QStringLiteral("Ray")},
                  {QStringLiteral("Dan"), QStringLiteral("Fox")},
                  {QStringLiteral("Dan"), QStringLiteral("Fox")}});
    WriteCourses({{QStringLiteral("FIR-101"), QStringLiteral("Firearms"), 8},
                  {QStringLiteral("FA-1"), QStringLiteral("First Aid"), 4}});
    store::TrainingRecord onFile;
    onFile.TrainingDate = formats::DateValue(QDate(2024, 1, 10));
    onFile.PersonKey = recordfiles::ReadPerson(2).DateCreated;
    onFile.CourseKey = recordfiles::ReadCourse(1).DateCreated;
    onFile.CourseCode = QStringLiteral("FIR-101");
    onFile.Hours = 8;
    QVERIFY(recordfiles::WriteTrainings({onFile}));
    WriteUser();
    SignIn(3);
}

QString WriteCsv(const QString& name, const QString& text) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        qWarning("the test's CSV file cannot be written");
    return QFileInfo(file).absoluteFilePath();
}

QList<store::TrainingRecord> Trainings() {
    QList<store::TrainingRecord> records;
    auto& table = store::Trainings();
    if (table.Open()) {
        for (qint32 n = 1; n <= table.Count(); ++n) {
            if (table.Read(n))
                records << table.Buffer();
        }
    }
    table.Close();
    return records;
}

frmImport* Driven(QWidget* window) {
    auto* import = qobject_cast<frmImport*>(window);
    if (!import)
        qWarning("the window asked about is no import window");
    return import;
}

// A column of the preview, its data rows in file order.
QStringList PreviewColumn(const frmImport& window, int col) {
    return listdata::ColumnTexts(*window.gridRows, col);
}

constexpr int ResultCol = 4;

} // namespace

class TestImportWindow : public QObject {
    Q_OBJECT

private slots:
    // One row of each reason: the preview tells each, the rejected rows are saved to mend,
    // and Import appends the accepted rows alone; the same file again credits nothing.
    void trainingImportCreditsTheAcceptedRowsOnce() {
        TestFolder folder;
        WriteData();
        const QString csv =
            WriteCsv(QStringLiteral("class.csv"),
                     QStringLiteral("Last Name,First Name,Course Code,Date,Hours,Comments\r\n"
                                    "Lee,Ann,FIR-101,02/01/2024,,Range day\r\n"
                                    "Ray,Bob,FA-1,02/01/2024,2.5,\r\n"
                                    "Nobody,Zed,FIR-101,02/01/2024,,\r\n"
                                    "Fox,Dan,FIR-101,02/01/2024,,\r\n"
                                    "Lee,Ann,XX-9,02/01/2024,,\r\n"
                                    "Lee,Ann,FIR-101,13/45/2024,,\r\n"
                                    "Lee,Ann,FIR-101,01/01/1950,,\r\n"
                                    "Lee,Ann,FA-1,02/01/2024,many,\r\n"
                                    "Ray,Bob,FIR-101,01/10/2024,,\r\n"
                                    "Lee,Ann,FIR-101,02/01/2024,,\r\n"
                                    "Lee,Ann,FA-1,02/01/2024,,\u6f22\u5b57\r\n"
                                    "Lee,Ann\r\n"));
        const QStringList verdicts{
            QStringLiteral("will be credited"),
            QStringLiteral("will be credited"),
            QStringLiteral("unknown person"),
            QStringLiteral("more than one person with that name"),
            QStringLiteral("unknown course code"),
            QStringLiteral("bad date"),
            QStringLiteral("implausible date (before 1955 or after the end of next year)"),
            QStringLiteral("hours not a number above 0"),
            QStringLiteral("the same person, course and date already on file"),
            QStringLiteral("the same person, course and date also on line 2 of this file"),
            QStringLiteral("text with characters the files cannot hold (Comments)"),
            QStringLiteral("2 fields where the heading has 6"),
        };
        const QString rejected = folder.filePath(QStringLiteral("to mend.csv"));
        auto lobby = OpenLobby();
        lobby->tabMain->setCurrentIndex(frmLobby::CourseIndexPage);

        ScriptedAnswers answers;
        answers.expectOpenFile(csv, TrainingTitle)
            .expectWindow(
                [&](QWidget* window) {
                    frmImport* w = Driven(window);
                    QVERIFY(w && !w->Previewing());
                    w->cmdNext->PerformClick();
                    QVERIFY(w->Previewing());
                    QCOMPARE(w->lblCounts->text(),
                             QStringLiteral("2 will be credited, 10 cannot be"));
                    QCOMPARE(PreviewColumn(*w, ResultCol), verdicts);
                    QCOMPARE(PreviewColumn(*w, 0).constLast(), QStringLiteral("13"));
                    // Nothing is written before Import.
                    QCOMPARE(Trainings().size(), 1);
                    w->cmdSaveRejected->PerformClick();
                    w->cmdImport->PerformClick();
                },
                TrainingTitle)
            .expectSaveFile(rejected)
            .expectMessage(QStringLiteral("Rejected Rows Saved"), 1)
            .expectMessage(QStringLiteral("Import Training Records"), 1);
        lobby->courseControls.cmdImportTraining->PerformClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines, QStringList{"2 training records were added."});

        const QList<store::TrainingRecord> records = Trainings();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[1].PersonKey, recordfiles::ReadPerson(1).DateCreated);
        QCOMPARE(records[1].CourseCode, QStringLiteral("FIR-101"));
        QCOMPARE(records[1].Hours, 8.0f);
        QCOMPARE(records[1].Comments, QStringLiteral("Range day"));
        QCOMPARE(records[2].PersonKey, recordfiles::ReadPerson(2).DateCreated);
        QCOMPARE(records[2].Hours, 2.5f);

        store::csv::Table mend;
        QVERIFY(store::csv::ReadFile(rejected, mend));
        QCOMPARE(int(mend.records.size()), 11);
        QCOMPARE(mend.records.front().fields.constLast(), QStringLiteral("Reason"));
        QCOMPARE(mend.records[1].fields.constLast(), verdicts[2]);

        // The same file again: what it credited is on file now, and Import cannot be pressed.
        const QByteArray before = recordfiles::FileBytes(QStringLiteral("Training.Records"));
        answers.expectOpenFile(csv).expectWindow([&](QWidget* window) {
            frmImport* w = Driven(window);
            QVERIFY(w);
            w->cmdNext->PerformClick();
            QCOMPARE(w->lblCounts->text(), QStringLiteral("0 will be credited, 12 cannot be"));
            QCOMPARE(PreviewColumn(*w, ResultCol).mid(0, 2), QStringList(2, verdicts[8]));
            QVERIFY(!w->cmdImport->isEnabled());
            w->cmdCancel->PerformClick();
        });
        lobby->courseControls.cmdImportTraining->PerformClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(recordfiles::FileBytes(QStringLiteral("Training.Records")), before);
    }

    // A heading no field knows leaves its field without a column, and Next refused until the
    // user chooses one; a column chosen for a second field leaves the first. Every box is
    // announced by its field.
    void changedColumnMatchFeedsThePlan() {
        TestFolder folder;
        WriteData();
        store::csv::Table table;
        QVERIFY(store::csv::Parse(QByteArrayLiteral("Surname,Given,Code,Class Date,Hours\r\n"
                                                    "Lee,Ann,FA-1,03/01/2024,\r\n"),
                                  QStringLiteral("class.csv"), table));
        frmImport w(nullptr, TestSession(), Kind::Training, QStringLiteral("class.csv"),
                    std::move(table));
        w.show();
        auto box = [&w](Field field) {
            for (int i = 0; i < w.FieldCount(); ++i) {
                if (w.FieldAt(i) == field)
                    return w.cboColumn[std::size_t(i)];
            }
            return static_cast<QComboBox*>(nullptr);
        };
        for (int i = 0; i < w.FieldCount(); ++i) {
            // A screen reader names a box by the label it is the buddy of.
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(w.cboColumn[i]);
            const auto labels = access->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.front().first->text(QAccessible::Name),
                     store::csvimport::Caption(w.FieldAt(i)));
        }
        QCOMPARE(box(Field::LastName)->currentText(), QStringLiteral("Surname"));
        QCOMPARE(box(Field::FirstName)->currentText(), QStringLiteral("(none)"));
        QCOMPARE(w.lblMissing->text(),
                 QStringLiteral("The rows need a column for: First Name, Date."));
        QVERIFY(!w.cmdNext->isEnabled());

        box(Field::FirstName)->setCurrentIndex(2); // "Given"
        box(Field::Date)->setCurrentIndex(4);      // "Class Date"
        QVERIFY(w.cmdNext->isEnabled());
        box(Field::Comments)->setCurrentIndex(2); // takes "Given" from First Name
        QCOMPARE(box(Field::FirstName)->currentText(), QStringLiteral("(none)"));
        QVERIFY(!w.cmdNext->isEnabled());
        box(Field::FirstName)->setCurrentIndex(2);
        QCOMPARE(box(Field::Comments)->currentText(), QStringLiteral("(none)"));

        w.cmdNext->PerformClick();
        QCOMPARE(PreviewColumn(w, 1), QStringList{"Lee, Ann"});
        QCOMPARE(PreviewColumn(w, ResultCol), QStringList{"will be credited"});
        w.cmdBack->PerformClick();
        QVERIFY(!w.Previewing());
    }

    // Another station credits a row between the preview and Import: the plan made again
    // differs, so it is shown and nothing written until Import is pressed on it.
    void aChangeOnFileShowsTheNewPlanInsteadOfWriting() {
        TestFolder folder;
        WriteData();
        store::csv::Table table;
        QVERIFY(store::csv::Parse(QByteArrayLiteral("Last Name,First Name,Code,Date\r\n"
                                                    "Lee,Ann,FA-1,03/01/2024\r\n"
                                                    "Ray,Bob,FA-1,03/01/2024\r\n"),
                                  QStringLiteral("class.csv"), table));
        frmImport w(nullptr, TestSession(), Kind::Training, QStringLiteral("class.csv"),
                    std::move(table));
        w.show();
        w.cmdNext->PerformClick();
        QCOMPARE(w.lblCounts->text(), QStringLiteral("2 will be credited, 0 cannot be"));

        QList<store::TrainingRecord> records = Trainings();
        store::TrainingRecord elsewhere = records.front();
        elsewhere.TrainingDate = formats::DateValue(QDate(2024, 3, 1));
        elsewhere.CourseKey = recordfiles::ReadCourse(2).DateCreated;
        elsewhere.CourseCode = QStringLiteral("FA-1");
        QVERIFY(recordfiles::WriteTrainings(records << elsewhere));
        const QByteArray changed = recordfiles::FileBytes(QStringLiteral("Training.Records"));

        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Data Changed"), 1);
        w.cmdImport->PerformClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(recordfiles::FileBytes(QStringLiteral("Training.Records")), changed);
        QCOMPARE(w.lblCounts->text(), QStringLiteral("1 will be credited, 1 cannot be"));
        QVERIFY(w.isVisible());

        answers.expectMessage(QStringLiteral("Import Training Records"), 1);
        w.cmdImport->PerformClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines, QStringList{"1 training record was added."});
        QCOMPARE(Trainings().size(), 3);
        QCOMPARE(w.Result().added, 1);
    }

    // A roster of 30 recruits: 30 persons, each with an identity of its own, in the Name
    // List, the first of them highlighted.
    void rosterOf30GivesDistinctPersons() {
        TestFolder folder;
        WriteData();
        QString text = QStringLiteral("Last Name,First Name,Employee ID\r\n");
        for (int i = 1; i <= 30; ++i)
            text += QStringLiteral("Recruit%1,Pat,R-%1\r\n").arg(i, 2, 10, QLatin1Char('0'));
        const QString csv = WriteCsv(QStringLiteral("roster.csv"), text);
        auto lobby = OpenLobby();

        ScriptedAnswers answers;
        answers.expectOpenFile(csv, PersonsTitle)
            .expectWindow(
                [&](QWidget* window) {
                    frmImport* w = Driven(window);
                    QVERIFY(w);
                    w->cmdNext->PerformClick();
                    QCOMPARE(w->lblCounts->text(), QStringLiteral("30 will be added, 0 cannot be"));
                    w->cmdImport->PerformClick();
                },
                PersonsTitle)
            .expectMessage(QStringLiteral("Import Persons"), 1);
        lobby->nameControls.cmdImportPersons->PerformClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines, QStringList{"30 persons were added to the Name List."});

        QSet<double> identities;
        int recruits = 0;
        for (const PersonRow& person : lobby->Names().Persons().rows) {
            identities.insert(person.identity);
            recruits += person.name.startsWith(QStringLiteral("Pat Recruit"));
        }
        QCOMPARE(recruits, 30);
        QCOMPARE(identities.size(), 34);
        const FlexGrid& grid = *lobby->nameControls.gridName;
        QCOMPARE(grid.TextMatrix(grid.Row(), namegrid::DisplayName),
                 QStringLiteral("Pat Recruit01"));
    }

    // Below Read/Edit/Add the entries are greyed, and a way around them is refused before
    // any file is asked for.
    void belowAddLevelTheEntriesAreRefused() {
        TestFolder folder;
        WriteData();
        for (int level : {2, 3}) {
            SignIn(level);
            auto lobby = OpenLobby();
            QCOMPARE(lobby->nameControls.cmdImportPersons->isEnabled(), level >= 3);
            QCOMPARE(lobby->courseControls.cmdImportTraining->isEnabled(), level >= 3);
        }
        SignIn(2);
        auto lobby = OpenLobby();
        for (Kind kind : {Kind::Training, Kind::Persons}) {
            ScriptedAnswers answers;
            answers.expectMessage(QStringLiteral("Not authorized"), 1);
            QCOMPARE(frmImport::Run(*lobby, TestSession(), kind).added, 0);
            QVERIFY(answers.verifyDone());
        }
        // The window itself asks again before it writes.
        store::csv::Table table;
        QVERIFY(store::csv::Parse(QByteArrayLiteral("Last Name,First Name\r\nOkafor,Grace\r\n"),
                                  QStringLiteral("roster.csv"), table));
        frmImport w(nullptr, TestSession(), Kind::Persons, QStringLiteral("roster.csv"),
                    std::move(table));
        w.show();
        w.cmdNext->PerformClick();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Not authorized"), 1);
        w.cmdImport->PerformClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(QFile(QStringLiteral("Name.List")).size(),
                 qint64(4 * store::PersonRecord::Length));
    }

    // A file that cannot be read is named with the reason; one with a heading alone is told.
    void aFileThatCannotBeReadIsTold() {
        TestFolder folder;
        WriteData();
        auto lobby = OpenLobby();
        const QString headingOnly =
            WriteCsv(QStringLiteral("empty.csv"), QStringLiteral("Last Name,First Name\r\n"));
        for (const auto& [path, title, words] :
             {std::tuple{folder.filePath(QStringLiteral("missing.csv")),
                         QStringLiteral("File Problem"), QStringLiteral("missing.csv")},
              std::tuple{headingOnly, QStringLiteral("Import Persons"),
                         QStringLiteral("holds no rows")}}) {
            ScriptedAnswers answers;
            answers.expectOpenFile(path).expectMessage(title, 1);
            QCOMPARE(frmImport::Run(*lobby, TestSession(), Kind::Persons).added, 0);
            QVERIFY(answers.verifyDone());
            QVERIFY2(answers.lastAsked().lines.join(u' ').contains(words),
                     qPrintable(answers.lastAsked().lines.join(u' ')));
        }
    }
};

QTEST_MAIN(TestImportWindow)
#include "test_importwindow.moc"
