// A person's training history: order, highlight, total, shading, the buttons by access and
// view-only mode, the field edits with their limits, comment editing and removal.

#include "help/frmManual.h"
#include "platform/StandardDialogs.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "support/ListData.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/CommentsBox.h"
#include "training/TrainingDate.h"
#include "training/TrainingRules.h"
#include "training/frmTrainingHistory.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTextCursor>

using namespace listdata;
using training::HistoryColumn;

namespace {

struct Entry {
    QDate date;
    float hours;
    QString comment;
    int person = 1; // listdata person number
};

// Name.List with Ann Able (1) and Bob Baker (2); Training.Records with `entries` in order.
void WriteFiles(const QList<Entry>& entries) {
    WritePersons({{"Ann", "Able"}, {"Bob", "Baker"}});
    QList<store::TrainingRecord> records;
    for (const Entry& e : entries) {
        const int n = int(records.size()) + 1;
        store::TrainingRecord r;
        r.TrainingDate = formats::DateValue(e.date);
        r.PersonKey = formats::WholeSecondValue(StampOf(e.person));
        r.CourseKey = StampOf(1001);
        r.CourseCode = QStringLiteral("C-%1").arg(n);
        r.CourseName = QStringLiteral("Course %1").arg(n);
        r.ProvidedBy = QStringLiteral("Academy");
        r.Hours = e.hours;
        r.Comments = e.comment;
        records << r;
    }
    QVERIFY(recordfiles::WriteTrainings(records));
}

std::unique_ptr<frmTrainingHistory> Open(bool readOnly = false, int accessLevel = 4) {
    training::HistorySubject subject;
    subject.person = {QStringLiteral("Ann Able"), 1};
    subject.readOnly = readOnly;
    subject.session.level = AccessLevelOf(accessLevel); // as the Lobby signed in
    auto window = std::make_unique<frmTrainingHistory>(nullptr, subject);
    window->show();
    return window;
}

QStringList Column(const frmTrainingHistory& w, int col) {
    return ColumnTexts(*w.gridTraining, col);
}

// Five records of Ann, dated in order, and one of Bob in between.
const QList<Entry> kFive = {{QDate(2024, 1, 1), 8, "first"}, {QDate(2024, 2, 1), 8, ""},
                            {QDate(2024, 3, 1), 8, "x", 2},  {QDate(2024, 4, 1), 8, "third"},
                            {QDate(2024, 5, 1), 8, ""},      {QDate(2024, 6, 1), 8, "fifth"}};

} // namespace

class TestTrainingHistory : public QObject {
    Q_OBJECT

private slots:
    // An edit of one field, or of the comments, is refused when it holds a control character;
    // the comments keep their line breaks.
    void editRefusesControlCharacters_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("refused");
        QTest::newRow("code with a tab") << int(training::EditCode) << "A\tB" << true;
        QTest::newRow("name with a line break") << int(training::EditName) << "N\nX" << true;
        QTest::newRow("provider with 0x9D") << int(training::EditProvider) << "P\u009D" << true;
        QTest::newRow("name with letters of the page")
            << int(training::EditName) << "\u20AC \u201C" << false;
        QTest::newRow("comments with CR LF") << int(training::EditComments) << "a\r\nb" << false;
        QTest::newRow("comments with DEL") << int(training::EditComments) << "a\u007F" << true;
        QTest::newRow("comments with NUL")
            << int(training::EditComments) << QString(QChar(0)) << true;
    }
    void editRefusesControlCharacters() {
        QFETCH(int, item);
        QFETCH(QString, answer);
        QFETCH(bool, refused);
        QCOMPARE(training::EditRefusal(training::EditField(item), answer).has_value(), refused);
    }
    void listsByDateAndHighlightsBySource_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("accessLevel");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("buttons"); // edit, delete: h hidden, g greyed, e enabled
        QTest::newRow("Name List, level 1") << false << 1 << 3 << "gg";
        QTest::newRow("Name List, level 3") << false << 3 << 3 << "eg";
        QTest::newRow("Name List, level 4") << false << 4 << 3 << "ee";
        QTest::newRow("results, view only") << true << 4 << 1 << "hh";
    }
    void listsByDateAndHighlightsBySource() {
        QFETCH(bool, readOnly);
        QFETCH(int, accessLevel);
        QFETCH(int, row);
        QFETCH(QString, buttons);
        TestFolder folder;
        WriteFiles({{QDate(2025, 3, 2), 8, "spring"},
                    {QDate(2024, 1, 15), 4.5f, ""},
                    {QDate(2025, 11, 30), 8, ""},
                    {QDate(2024, 6, 1), 2, "", 2}});
        auto w = Open(readOnly, accessLevel);
        QVERIFY(w->isVisible());
        QCOMPARE(w->Caption(), QStringLiteral("Mirtavel - Training History of Ann Able"));
        QCOMPARE(Column(*w, HistoryColumn::Date),
                 QStringList({"01/15/2024", "03/02/2025", "11/30/2025"}));
        QCOMPARE(Column(*w, HistoryColumn::Hours), QStringList({"4.5", "8.0", "8.0"}));
        QCOMPARE(Column(*w, HistoryColumn::RecNum), QStringList({"2", "1", "3"}));
        QCOMPARE(w->gridTraining->Row(), row);
        QCOMPARE(w->lblTotalHours->text(), QStringLiteral("Total hours listed:\n20.5"));
        const auto look = [](const ZovButton* b) {
            return b->isHidden() ? u'h' : (b->isEnabled() ? u'e' : u'g');
        };
        QCOMPARE(QString(look(w->cmdEditTraining)) + look(w->cmdDeleteTraining), buttons);
        QVERIFY(!w->cmdPrintTraining->isHidden());
        {
            // Its print button asks first; declined, nothing is printed.
            ScriptedAnswers answers;
            answers.expectStandard(platform::StandardAnswer::No,
                                   QStringLiteral("Print the Training History?"));
            w->cmdPrintTraining->PerformClick();
            QVERIFY(answers.verifyDone());
        }
        {
            // F1 opens the help window on the training history's topic.
            ScriptedAnswers answers;
            answers.expectWindow(
                [](QWidget* window) {
                    auto* help = qobject_cast<frmManual*>(window);
                    QVERIFY(help);
                    QCOMPARE(help->CurrentTopic(), 10);
                },
                QStringLiteral("Mirtavel -  Help Screen"));
            QTest::keyClick(w->gridTraining, Qt::Key_F1);
            QVERIFY(answers.verifyDone());
        }
        // Shading: the second data row, not the first or third.
        FlexGrid& grid = *w->gridTraining;
        QList<bool> shaded;
        for (int r = 1; r <= 3; ++r) {
            grid.SetRow(r);
            grid.SetCol(0);
            shaded << (grid.CellBackColor() == QColor(240, 240, 240));
        }
        QCOMPARE(shaded, (QList<bool>{false, true, false}));
        // The comments pane follows the highlighted row.
        grid.SetRow(2);
        QCOMPARE(w->txtComments->toPlainText(), QStringLiteral("spring"));
        QCOMPARE(w->lblComments->palette().color(QPalette::WindowText), QColor(Qt::white));
        grid.SetRow(1);
        QVERIFY(w->txtComments->toPlainText().isEmpty());
        QCOMPARE(w->lblComments->palette().color(QPalette::WindowText), QColor(192, 192, 192));
        // Esc closes the window.
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        QTest::keyClick(w->gridTraining, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    void totalIsTheSumOfTheShownHours_data() {
        QTest::addColumn<QList<float>>("hours");
        QTest::addColumn<QString>("total");
        QTest::newRow("8 + 4.5") << QList<float>{8, 4.5f} << "12.5";
        QTest::newRow("1.2 + 2.4") << QList<float>{1.2f, 2.4f} << "3.6";
        QTest::newRow("8") << QList<float>{8} << "8";
        QTest::newRow("12.25 counts as 12.25") << QList<float>{12.25f, 0.1f} << "12.35";
    }
    void totalIsTheSumOfTheShownHours() {
        QFETCH(QList<float>, hours);
        QFETCH(QString, total);
        std::vector<store::NumberedTraining> records;
        for (float h : hours) {
            store::NumberedTraining t;
            t.record.Hours = h;
            records.push_back(t);
        }
        QCOMPARE(training::TotalHoursText(records), total);
    }

    void personWithoutRecordsIsToldAndClosed() {
        TestFolder folder;
        WriteFiles({{QDate(2024, 6, 1), 2, "", 2}});
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("No records on file..."), 1);
        auto w = Open();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"Ann Able", "has no training records on file"}));
        QVERIFY(!w->isVisible());
    }

    // Each field edit with its limits: refused answers change nothing, accepted ones are
    // stored in the highlighted record and shown.
    // The editing menu offers the fields in order, and the question for a new value names
    // the field chosen.
    void editingMenuNamesTheFields() {
        TestFolder folder;
        WriteFiles(kFive);
        auto w = Open();
        QStringList captions;
        for (const QAction* action : w->menuEditmenu->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(
            captions,
            QStringList({"Click below to edit...", "-", "...the date the training was received...",
                         "...the Course Code of this training record",
                         "...the name of the training course", "...who provided this training",
                         "...the hours associated with this training record",
                         "...the comments associated with this training record", "-",
                         "Exit this menu"}));
        QVERIFY(!w->menuEditHeading->isEnabled());
        const QStringList named = {
            "the date the training was received....", "the Course Code of this training record.",
            "the name of the training course.", "who provided this training.",
            "the hours associated with this training record."};
        ScriptedAnswers answers;
        for (int field = training::EditDate; field < training::EditComments; ++field) {
            answers.expectInput(QString());
            w->menuEdit[field]->trigger();
            QCOMPARE(answers.lastAsked().lines.value(1), named.at(field));
        }
        w->menuEditExit->trigger();
        QVERIFY(answers.verifyDone());
        QVERIFY(!w->Changed() && w->gridTraining->isEnabled());
    }

    void editsOneField_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("shown"); // empty: refused
        QTest::newRow("code of 9") << int(training::EditCode) << "ABCDEFGHI" << 1 << "";
        QTest::newRow("code of 8") << int(training::EditCode) << "ABCDEFGH" << 1 << "ABCDEFGH";
        QTest::newRow("removal marker") << int(training::EditCode) << "$Killed$" << 1 << "";
        QTest::newRow("name") << int(training::EditName) << "Night Driving" << 2 << "Night Driving";
        QTest::newRow("name of 51") << int(training::EditName) << QString(51, u'n') << 2 << "";
        QTest::newRow("name beyond the code page")
            << int(training::EditName) << QStringLiteral("\u0141ukasz") << 2 << "";
        QTest::newRow("provider in the code page")
            << int(training::EditProvider) << QStringLiteral("L\u00f3d\u017e \u20ac") << 3
            << QStringLiteral("L\u00f3d\u017e \u20ac");
        QTest::newRow("provider of 30")
            << int(training::EditProvider) << QString(30, u'p') << 3 << QString(30, u'p');
        QTest::newRow("provider of 31")
            << int(training::EditProvider) << QString(31, u'p') << 3 << "";
        QTest::newRow("hours 0.5") << int(training::EditHours) << "0.5" << 4 << "";
        QTest::newRow("hours 1000") << int(training::EditHours) << "1000" << 4 << "";
        QTest::newRow("hours abc") << int(training::EditHours) << "abc" << 4 << "";
        QTest::newRow("hours 9e99") << int(training::EditHours) << "9e99" << 4 << "";
        QTest::newRow("hours 1e39") << int(training::EditHours) << "1e39" << 4 << "";
        QTest::newRow("hours 1") << int(training::EditHours) << "1" << 4 << "1.0";
        QTest::newRow("hours 999") << int(training::EditHours) << "999" << 4 << "999.0";
        QTest::newRow("hours 12.5") << int(training::EditHours) << "12.5" << 4 << "12.5";
        QTest::newRow("hours 8 hrs") << int(training::EditHours) << "8 hrs" << 4 << "8.0";
        QTest::newRow("unreadable date") << int(training::EditDate) << "13/45/2024" << 0 << "";
    }
    void editsOneField() {
        QFETCH(int, item);
        QFETCH(QString, answer);
        QFETCH(int, col);
        QFETCH(QString, shown);
        TestFolder folder;
        WriteFiles({{QDate(2024, 1, 1), 2, ""}, {QDate(2024, 2, 1), 3, ""}});
        auto w = Open();
        w->gridTraining->SetRow(1);
        const QString before = w->gridTraining->TextMatrix(1, col);
        ScriptedAnswers answers;
        answers.expectInput(QStringLiteral("  ") + answer + QStringLiteral(" "),
                            QStringLiteral("Editing the highlighted training record"));
        if (shown.isEmpty())
            answers.expectStandard(platform::StandardAnswer::Ok, QStringLiteral("Entry Error"));
        w->menuEdit[item]->trigger();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.asked().first().defaultText, before); // the box starts from the value
        QCOMPARE(w->gridTraining->TextMatrix(1, col), shown.isEmpty() ? before : shown);
        if (shown.isEmpty())
            QCOMPARE(answers.lastAsked().lines.mid(0, 2), QStringList({answer, QString()}));
        QCOMPARE(w->Changed(), !shown.isEmpty());
    }

    // A new date re-sorts the record and the highlight goes with it, so that the next edit
    // changes the same record.
    void dateEditMovesTheRecordAndItsHighlight() {
        TestFolder folder;
        WriteFiles(kFive);
        auto w = Open();
        w->gridTraining->SetRow(2);
        ScriptedAnswers answers;
        // Cancel, blanks, or the value left as listed ("8.0" of 8 hours): nothing at all.
        answers.expectInput(QString()).expectInput(QStringLiteral("   "));
        answers.expectInput(QStringLiteral("8.0"));
        w->menuEdit[training::EditName]->trigger();
        w->menuEdit[training::EditName]->trigger();
        w->menuEdit[training::EditHours]->trigger();
        QVERIFY(answers.verifyDone());
        QVERIFY(!w->Changed());

        answers.expectInput(QStringLiteral("12/31/2025")).expectInput(QStringLiteral("5"));
        w->menuEdit[training::EditDate]->trigger();
        QCOMPARE(Column(*w, HistoryColumn::RecNum), QStringList({"1", "4", "5", "6", "2"}));
        QCOMPARE(w->gridTraining->Row(), 5);
        w->menuEdit[training::EditHours]->trigger();
        QVERIFY(answers.verifyDone());
        QCOMPARE(Column(*w, HistoryColumn::Hours),
                 QStringList({"8.0", "8.0", "8.0", "8.0", "5.0"}));
        QCOMPARE(w->gridTraining->TextMatrix(5, HistoryColumn::RecNum), QStringLiteral("2"));
    }

    // A date a coordinator may have mistyped is asked about, written out, before it is
    // stored; a day and month alone is this year's (the clock reads 15 March 2024).
    void dateEditQuestionsDoubtfulDates_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("meant");
        QTest::addColumn<int>("answer"); // to "Is this date right?", -1 not asked, 0 Esc
        QTest::addColumn<bool>("stored");
        QTest::newRow("plausible") << "12/31/2025" << QDate(2025, 12, 31) << -1 << true;
        QTest::newRow("before 1955, yes") << "01/01/1950" << QDate(1950, 1, 1) << 1 << true;
        QTest::newRow("before 1955, no") << "01/01/1950" << QDate(1950, 1, 1) << 2 << false;
        QTest::newRow("after next year, yes") << "01/01/2026" << QDate(2026, 1, 1) << 1 << true;
        QTest::newRow("after next year, Esc") << "01/01/2026" << QDate(2026, 1, 1) << 0 << false;
        QTest::newRow("no year, yes") << "6/15" << QDate(2024, 6, 15) << 1 << true;
        QTest::newRow("no year, no") << "6/15" << QDate(2024, 6, 15) << 2 << false;
    }
    void dateEditQuestionsDoubtfulDates() {
        QFETCH(QString, typed);
        QFETCH(QDate, meant);
        QFETCH(int, answer);
        QFETCH(bool, stored);
        TestFolder folder;
        WriteFiles({{QDate(2024, 1, 1), 2, ""}});
        auto w = Open();
        ScriptedAnswers answers;
        answers.expectInput(typed);
        if (answer >= 0)
            answers.expectMessage(QStringLiteral("Is this date right?"), answer);
        w->menuEdit[training::EditDate]->trigger();
        QVERIFY(answers.verifyDone());
        if (answer >= 0)
            QVERIFY(answers.lastAsked().lines.contains(training::DateWrittenOut(meant)));
        QCOMPARE(Column(*w, HistoryColumn::Date),
                 QStringList({(stored ? meant : QDate(2024, 1, 1)).toString("MM/dd/yyyy")}));
        QCOMPARE(w->Changed(), stored);
    }

    void commentEditing() {
        TestFolder folder;
        WriteFiles(kFive);
        auto w = Open();
        w->gridTraining->SetRow(1);
        w->menuEdit[training::EditComments]->trigger();
        QVERIFY(!w->gridTraining->isEnabled());
        QVERIFY(w->cmdEditTraining->isHidden() && w->cmdPrintTraining->isHidden());
        QVERIFY(!w->cmdSaveComments->isHidden() && !w->cmdSaveComments->isEnabled());
        QCOMPARE(w->lblComments->text(), QStringLiteral("Edit the comments below..."));
        w->txtComments->setPlainText(QStringLiteral("firsts"));
        QVERIFY(w->cmdSaveComments->isEnabled());
        w->txtComments->setPlainText(QStringLiteral("first"));
        QVERIFY(!w->cmdSaveComments->isEnabled()); // back to the old text
        w->txtComments->setPlainText(QStringLiteral("changed"));
        w->cmdCancelComments->Click();
        QCOMPARE(w->txtComments->toPlainText(), QStringLiteral("first"));
        QCOMPARE(w->lblComments->text(), QStringLiteral("Highlighted training - comments"));
        QVERIFY(w->gridTraining->isEnabled());

        w->menuEdit[training::EditComments]->trigger();
        w->txtComments->setPlainText(QStringLiteral("  range day  "));
        w->cmdSaveComments->Click();
        QVERIFY(w->cmdSaveComments->isHidden());
        QCOMPARE(w->txtComments->toPlainText(), QStringLiteral("range day"));
        QCOMPARE(w->gridTraining->TextMatrix(1, HistoryColumn::Comments),
                 QStringLiteral("range day"));
        QVERIFY(!w->cmdEditTraining->isHidden());

        // A full box refuses what is typed into it and keeps every character it has.
        w->menuEdit[training::EditComments]->trigger();
        const QString full = QString(174, u'c') + QStringLiteral("END4567890");
        w->txtComments->setPlainText(full);
        w->txtComments->moveCursor(QTextCursor::Start);
        QTest::keyClicks(w->txtComments, "XY");
        QCOMPARE(w->txtComments->toPlainText(), full);

        // Esc leaves the comment edit first, then closes the window.
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        QTest::keyClick(w->txtComments, Qt::Key_Escape);
        QVERIFY(w->cmdSaveComments->isHidden() && w->isVisible());
        QCOMPARE(w->txtComments->toPlainText(), QStringLiteral("range day"));
        QTest::keyClick(w->gridTraining, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    void removesTheHighlightedRecord() {
        TestFolder folder;
        WriteFiles(kFive);
        auto w = Open();
        ScriptedAnswers answers;
        // Esc and No keep everything.
        w->gridTraining->SetRow(3);
        answers.expectMessage(QStringLiteral("Confirm"), 0)
            .expectMessage(QStringLiteral("Confirm"), 2);
        w->cmdDeleteTraining->Click();
        w->cmdDeleteTraining->Click();
        QVERIFY(answers.verifyDone());
        // One day may hold two courses: the question names the course as well as the date.
        QCOMPARE(answers.lastAsked().lines.mid(3, 2),
                 QStringList({"04/01/2024", "Course 4 (C-4)"}));
        QCOMPARE(w->gridTraining->Rows(), 6);

        // The third of five: four left, the second highlighted, then the notice.
        answers.expectMessage(QStringLiteral("Confirm"), 1)
            .expectStandard(platform::StandardAnswer::Ok,
                            QStringLiteral("Training Record Removed"));
        w->cmdDeleteTraining->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(Column(*w, HistoryColumn::Date),
                 QStringList({"01/01/2024", "02/01/2024", "05/01/2024", "06/01/2024"}));
        QCOMPARE(w->gridTraining->Row(), 2);
        QVERIFY(!store::Trainings().IsOpen());
        QFile file(QStringLiteral("Training.Records"));
        QCOMPARE(file.size(), qint64(5 * 300)); // Bob's record stays
        QVERIFY(w->Changed());
    }

    void removingTheLastRecordClosesTheWindow() {
        TestFolder folder;
        WriteFiles({{QDate(2024, 1, 1), 8, ""}});
        auto w = Open();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Confirm"), 1)
            .expectMessage(QStringLiteral("No records on file..."), 1);
        w->cmdDeleteTraining->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(QStringLiteral("Training.Records")));
    }

    // Records renumbered elsewhere since the window read them (another station removed one):
    // the highlighted number now names Bob's record or none. Nothing is changed or removed;
    // the user is told and may reload.
    void aRecordChangedElsewhereIsLeftAlone_data() {
        QTest::addColumn<bool>("edit");  // else remove
        QTest::addColumn<int>("answer"); // to "Changed Elsewhere": 1 reload, 2 stay
        QTest::newRow("edit, reload") << true << 1;
        QTest::newRow("edit, stay") << true << 2;
        QTest::newRow("remove") << false << 1;
    }
    void aRecordChangedElsewhereIsLeftAlone() {
        QFETCH(bool, edit);
        QFETCH(int, answer);
        TestFolder folder;
        WriteFiles(kFive);
        auto w = Open();
        w->gridTraining->SetRow(2); // Ann's 02/01/2024, record 2 on file
        WriteFiles({kFive[0], kFive[2], kFive[3], kFive[4], kFive[5]}); // record 2 is Bob's now
        const QByteArray onFile = [] {
            QFile file(QStringLiteral("Training.Records"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        ScriptedAnswers answers;
        if (edit) {
            answers.expectInput(QStringLiteral("99"))
                .expectMessage(QStringLiteral("Changed Elsewhere"), answer);
            w->menuEdit[training::EditHours]->trigger();
        } else {
            answers.expectMessage(QStringLiteral("Confirm"), 1)
                .expectMessage(QStringLiteral("Changed Elsewhere"), answer);
            w->cmdDeleteTraining->Click();
        }
        QVERIFY(answers.verifyDone());
        QFile file(QStringLiteral("Training.Records"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), onFile);
        QCOMPARE(w->gridTraining->Rows(), answer == 1 ? 5 : 6);
        QVERIFY(w->isVisible() && w->isEnabled());
    }

    // A file that cannot be read or rewritten is told, naming it; nothing is lost and the
    // window is usable again (or closes when it has nothing whole to show).
    void fileFailuresAreTold() {
        TestFolder folder;
        WriteFiles(kFive);
        auto w = Open();
        QVERIFY(QDir().mkdir(QStringLiteral("TempFile.$$$")));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Confirm"), 1)
            .expectMessage(QStringLiteral("File Problem"), 1);
        w->gridTraining->SetRow(2);
        w->cmdDeleteTraining->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("TempFile.$$$")));
        QCOMPARE(w->gridTraining->Rows(), 6);
        QCOMPARE(w->gridTraining->Row(), 2);
        QVERIFY(w->isVisible() && w->isEnabled() && !w->IsBusy());
        QCOMPARE(QFile(QStringLiteral("Training.Records")).size(), qint64(6 * 300));

        // The history cannot be read at all: told, then closed without "No records".
        QVERIFY(QDir().rmdir(QStringLiteral("TempFile.$$$")));
        QVERIFY(QFile::remove(QStringLiteral("Training.Records")));
        QVERIFY(QDir().mkdir(QStringLiteral("Training.Records")));
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        auto unreadable = Open();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("Training.Records")));
        QVERIFY(!unreadable->isVisible());
    }
};

QTEST_MAIN(TestTrainingHistory)
#include "test_traininghistory.moc"
