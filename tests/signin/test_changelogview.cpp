#include "SigninTesting.h"
#include "print/PrintOutput.h"
#include "print/RecordingPageWriter.h"
#include "signin/AccessCode.h"
#include "signin/AdminEntry.h"
#include "signin/frmAdmin.h"
#include "signin/frmChangeLog.h"
#include "store/ChangeLog.h"
#include "store/Csv.h"
#include "store/Formats.h"
#include "support/ListData.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace cl = store::changelog;
using signintest::Press;

namespace {

const QString Code = QStringLiteral("Sergeant42");

// Ann Able and Bob Baker of Name.List (listdata persons 1 and 2), and one course.
QString Ann() {
    return cl::IdentityText(listdata::StampOf(1));
}
QString Bob() {
    return cl::IdentityText(listdata::StampOf(2));
}
const QString Course = QStringLiteral("2005-03-01 13:00:00");

cl::Change Line(int day, const QString& user, const QString& action, const QString& kind,
                const QString& name, const QString& person, const QString& course,
                const QList<cl::FieldChange>& fields = {}) {
    cl::Change change;
    change.time = QDateTime(QDate(2024, 3, day), QTime(8, 0, day));
    change.user = user;
    change.action = action;
    change.kind = kind;
    change.identity = kind == cl::kind::Person ? person : kind == cl::kind::Course ? course : "";
    change.name = name;
    change.person = person;
    change.course = course;
    change.fields = fields;
    return change;
}

// Six days of changes, one a day: two persons added and trained, the course corrected by a
// user whose name is once typed in lower case, and a repair at start by nobody.
void WriteSixDays() {
    // These six lines alone: those of the writes that set the test up go first.
    QFile::remove(store::ChangeLogFileName);
    const QString al = QStringLiteral("Al Able");
    const QString bea = QStringLiteral("Bea Bell");
    QVERIFY(cl::Append({Line(1, al, cl::action::Added, cl::kind::Person, "Ann Able", Ann(), {}),
                        Line(2, al, cl::action::Credited, cl::kind::Training,
                             "Ann Able: FA-1 - Firearms", Ann(), Course,
                             {{"Hours", "", "8.0"}, {"Comments", "line one\nline two", ""}}),
                        Line(3, bea, cl::action::Edited, cl::kind::Course, "FA-1 - Firearms", {},
                             Course, {{"Hours", "4.0", "8.0"}}),
                        Line(4, bea, cl::action::Added, cl::kind::Person, "Bob Baker", Bob(), {}),
                        Line(5, "bea bell", cl::action::Credited, cl::kind::Training,
                             "Bob Baker: FA-1 - Firearms", Bob(), Course),
                        Line(6, {}, cl::action::Repaired, cl::kind::DataFiles, {}, {}, {})})
                .ok());
}

// The day of the month of each listed line, top to bottom.
QList<int> ListedDays(const frmChangeLog& viewer) {
    QList<int> days;
    for (int row = 1; row < viewer.grid->Rows(); ++row)
        days << viewer.grid->TextMatrix(row, 0).mid(3, 2).toInt();
    return days;
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList GridRow(const FlexGrid& grid, int row) {
    QStringList cells;
    for (int col = 0; col < 5; ++col)
        cells << grid.TextMatrix(row, col);
    return cells;
}

ScriptedAnswers::Drive ViewerDrive(std::function<void(frmChangeLog&)> drive) {
    return [drive](QWidget* window) {
        auto* viewer = qobject_cast<frmChangeLog*>(window);
        QVERIFY(viewer);
        drive(*viewer);
        Press(viewer->cmdClose);
    };
}

struct RecordedOutput {
    print::RecordingPageWriter out;
    RecordedOutput() { print::ReplaceOutput(&out); }
    ~RecordedOutput() { print::ReplaceOutput(nullptr); }
};

} // namespace

class TestChangeLogView : public QObject {
    Q_OBJECT

    std::unique_ptr<signintest::AdminFolder> folder_;
    QString codeRecord_;

private slots:
    void initTestCase() { codeRecord_ = signin::MakeAccessCodeRecord(Code); }
    void init() { folder_ = std::make_unique<signintest::AdminFolder>(codeRecord_); }
    void cleanup() {
        folder_.reset();
        flow::SetPersonChangesWindow({});
    }

    void adminModeListsTheLogNewestFirst() {
        signintest::AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"),
                            4);
        WriteSixDays();
        frmAdmin admin;
        admin.show();
        QVERIFY(!admin.cmdChangeLog->isVisible());
        const int signInHeight = admin.height();
        ScriptedAnswers answers;
        answers.expectInput(Code, QStringLiteral("Access Code Required"));
        Press(admin.cmdAdmin);
        // The window grows by the row that holds the button, and shows all of it.
        QVERIFY(admin.height() > signInHeight);
        QVERIFY(admin.cmdChangeLog->geometry().bottom() < admin.height());
        answers.expectWindow(
            ViewerDrive([](frmChangeLog& viewer) {
                QCOMPARE(viewer.windowTitle(), QStringLiteral("Mirtavel - Change Log"));
                QCOMPARE(ListedDays(viewer), QList<int>({6, 5, 4, 3, 2, 1}));
                // Every cell on one line; an empty value says so; nobody at start is no name.
                QCOMPARE(GridRow(*viewer.grid, 5),
                         QStringList({"03/02/2024 08:00:02", "Al Able", "Credited",
                                      "Training record: Ann Able: FA-1 - Firearms",
                                      "Hours: (empty) -> 8.0; Comments: line one line two -> "
                                      "(empty)"}));
                QCOMPARE(GridRow(*viewer.grid, 1),
                         QStringList(
                             {"03/06/2024 08:00:06", "", "Repaired at start", "Data files", ""}));
                QCOMPARE(viewer.lblCount->text(),
                         QStringLiteral("6 changes listed, newest first."));
                QVERIFY(viewer.lblWarning->isHidden());
                QCOMPARE(Items(viewer.cboPerson),
                         QStringList({"(every person)", "Ann Able", "Bob Baker"}));
                QCOMPARE(Items(viewer.cboCourse),
                         QStringList({"(every course)", "FA-1 - Firearms"}));
                // A user is offered once, as first written.
                QCOMPARE(Items(viewer.cboUser),
                         QStringList({"(every user)", "Al Able", "Bea Bell"}));
            }),
            QStringLiteral("Mirtavel - Change Log"));
        Press(admin.cmdChangeLog);
        QVERIFY(answers.verifyDone());
        Press(admin.cmdAdmin);
        QCOMPARE(admin.height(), signInHeight);
        QVERIFY(!admin.cmdChangeLog->isVisible());
    }

    void eachFilterNarrowsTheList_data() {
        QTest::addColumn<int>("person");
        QTest::addColumn<int>("course");
        QTest::addColumn<int>("user");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<QString>("refusal"); // the message a wrong entry gets
        using Days = QList<int>;
        QTest::newRow("person: their record and training") << 1 << 0 << 0 << ""
                                                           << "" << Days{2, 1} << "";
        QTest::newRow("course: it and its training") << 0 << 1 << 0 << ""
                                                     << "" << Days{5, 3, 2} << "";
        QTest::newRow("user, whatever the case") << 0 << 0 << 2 << ""
                                                 << "" << Days{5, 4, 3} << "";
        QTest::newRow("both ends inclusive") << 0 << 0 << 0 << "3/3/2024"
                                             << "March 4, 2024" << Days{4, 3} << "";
        QTest::newRow("from alone") << 0 << 0 << 0 << "03/05/2024"
                                    << "" << Days{6, 5} << "";
        QTest::newRow("to alone") << 0 << 0 << 0 << ""
                                  << "3/2/24" << Days{2, 1} << "";
        QTest::newRow("person and course") << 2 << 1 << 0 << ""
                                           << "" << Days{5} << "";
        QTest::newRow("nothing matches") << 0 << 0 << 1 << "3/5/2024"
                                         << "" << Days{} << "";
        QTest::newRow("a from that is no date")
            << 1 << 0 << 0 << "13/45/2024"
            << "" << Days{6, 5, 4, 3, 2, 1} << "Check the 'From' date entry";
        QTest::newRow("to before from")
            << 0 << 0 << 0 << "3/4/2024"
            << "3/3/2024" << Days{6, 5, 4, 3, 2, 1} << "The 'from' date cannot be";
    }

    void eachFilterNarrowsTheList() {
        QFETCH(int, person);
        QFETCH(int, course);
        QFETCH(int, user);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QList<int>, days);
        QFETCH(QString, refusal);
        WriteSixDays();
        frmChangeLog viewer;
        viewer.show();
        viewer.cboPerson->setCurrentIndex(person);
        viewer.cboCourse->setCurrentIndex(course);
        viewer.cboUser->setCurrentIndex(user);
        viewer.txtFrom->setText(from);
        viewer.txtTo->setText(to);
        ScriptedAnswers answers;
        if (!refusal.isEmpty())
            answers.expectMessage(QStringLiteral("Entry Error"), 1);
        Press(viewer.cmdShow);
        QVERIFY(answers.verifyDone());
        if (!refusal.isEmpty())
            QCOMPARE(answers.lastAsked().lines.constFirst(), refusal);
        QCOMPARE(ListedDays(viewer), days);
        if (days.isEmpty()) {
            QCOMPARE(viewer.lblCount->text(), QStringLiteral("No change matches these choices."));
            QVERIFY(!viewer.cmdPrint->isEnabled());
            QVERIFY(!viewer.cmdExport->isEnabled());
        }
    }

    void printAndCsvGiveTheListAsShown() {
        WriteSixDays();
        frmChangeLog viewer;
        viewer.show();
        viewer.cboUser->setCurrentIndex(2);
        Press(viewer.cmdShow);
        QCOMPARE(viewer.grid->Rows(), 4);
        QList<QStringList> shown{
            {"Time", "User", "What was done", "Record", "Fields: before -> after"}};
        for (int row = 1; row < viewer.grid->Rows(); ++row)
            shown << GridRow(*viewer.grid, row);

        RecordedOutput printed;
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print the Change Log?"), 1);
        Press(viewer.cmdPrint);
        QVERIFY(answers.verifyDone());
        for (const QStringList& row : shown) {
            for (const QString& cell : row) {
                if (!cell.isEmpty())
                    QVERIFY2(printed.out.Find(cell), qPrintable(cell));
            }
        }

        const QString path = QDir::current().filePath(QStringLiteral("changes.csv"));
        answers.expectSaveFile(path);
        Press(viewer.cmdExport);
        QVERIFY(answers.verifyDone());
        store::csv::Table csv;
        QVERIFY(store::csv::ReadFile(path, csv).ok());
        QList<QStringList> saved;
        for (const store::csv::Record& record : csv.records)
            saved << record.fields;
        QCOMPARE(saved, shown);
    }

    void theHistoryOffersThePersonsChangesAtLevelFourOnly_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("offered");
        QTest::newRow("Read/Edit/Add") << 3 << false << false;
        QTest::newRow("Read Only") << 1 << false << false;
        QTest::newRow("Read/Edit/Add/Delete") << 4 << false << true;
        QTest::newRow("Read/Edit/Add/Delete, from the search") << 4 << true << true;
    }

    void theHistoryOffersThePersonsChangesAtLevelFourOnly() {
        QFETCH(int, level);
        QFETCH(bool, readOnly);
        QFETCH(bool, offered);
        listdata::WritePersons({{"Ann", "Able"}, {"Bob", "Baker"}});
        WriteSixDays();
        flow::SetPersonChangesWindow(signin::OpenPersonChanges);
        training::HistorySubject subject;
        subject.person = {QStringLiteral("Ann Able"), 1};
        subject.readOnly = readOnly;
        subject.session.level = AccessLevelOf(level);
        store::TrainingRecord training;
        training.TrainingDate = formats::DateValue(QDate(2024, 3, 2));
        training.PersonKey = formats::WholeSecondValue(listdata::StampOf(1));
        training.CourseCode = QStringLiteral("FA-1");
        training.Hours = 8;
        QVERIFY(recordfiles::WriteTrainings({training}));
        ScriptedAnswers answers;
        frmTrainingHistory history(nullptr, subject);
        history.show();
        QCOMPARE(history.cmdChanges->isVisible(), offered);
        if (!offered)
            return;
        QCOMPARE(QAccessible::queryAccessibleInterface(history.cmdChanges)->text(QAccessible::Name),
                 QStringLiteral("Changes to this person's records"));
        answers.expectWindow(ViewerDrive([](frmChangeLog& viewer) {
            QCOMPARE(viewer.windowTitle(), QStringLiteral("Mirtavel - Change Log of Ann Able"));
            QCOMPARE(ListedDays(viewer), QList<int>({2, 1}));
            QCOMPARE(Items(viewer.cboPerson), QStringList{"Ann Able"});
            QVERIFY(!viewer.cboPerson->isEnabled());
            // The other filters narrow her lines further, never widen them.
            viewer.cboUser->setCurrentIndex(0);
            viewer.txtFrom->setText(QStringLiteral("3/2/2024"));
            Press(viewer.cmdShow);
            QCOMPARE(ListedDays(viewer), QList<int>({2}));
        }));
        Press(history.cmdChanges);
        QVERIFY(answers.verifyDone());
    }

    void whatTheLogHoldsIsToldPlainly_data() {
        QTest::addColumn<QByteArray>("from"); // replaced in the log's bytes...
        QTest::addColumn<QByteArray>("by");   // ...by this
        QTest::addColumn<bool>("noLog");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("warning"); // a part of it; empty: no warning
        QTest::newRow("no log yet")
            << QByteArray() << QByteArray() << true << 0 << "There are no changes recorded."
            << "";
        QTest::newRow("a whole chain")
            << QByteArray() << QByteArray() << false << 6 << "6 changes listed, newest first."
            << "";
        QTest::newRow("a line altered by hand")
            << QByteArray("\t4.0\t8.0") << QByteArray("\t4.0\t2.0") << false << 6
            << "6 changes listed, newest first."
            << "Line 4 was altered.";
        QTest::newRow("a line no longer one of the log's")
            << QByteArray("Bob Baker: FA-1") << QByteArray("Bob\\qBaker") << false << 4
            << "4 changes listed, newest first."
            << "could not be read to its end";
    }

    void whatTheLogHoldsIsToldPlainly() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, by);
        QFETCH(bool, noLog);
        QFETCH(int, rows);
        QFETCH(QString, count);
        QFETCH(QString, warning);
        if (!noLog)
            WriteSixDays();
        if (!from.isEmpty()) {
            QFile log(store::ChangeLogFileName);
            QVERIFY(log.open(QIODevice::ReadWrite));
            QByteArray bytes = log.readAll();
            QVERIFY(bytes.contains(from));
            bytes.replace(from, by);
            QVERIFY(log.resize(0) && log.write(bytes) == bytes.size());
        }
        frmChangeLog viewer;
        viewer.show();
        QCOMPARE(viewer.grid->Rows() - 1, rows);
        QCOMPARE(viewer.lblCount->text(), count);
        QCOMPARE(viewer.lblWarning->isVisible(), !warning.isEmpty());
        QVERIFY2(viewer.lblWarning->text().contains(warning),
                 qPrintable(viewer.lblWarning->text()));
    }
};

QTEST_MAIN(TestChangeLogView)
#include "test_changelogview.moc"
