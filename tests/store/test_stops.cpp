// Stops at every moment of every multi-step write: the program is killed between two steps
// of a removal or in the middle of any write (half of it on disk), then started again. After
// the start-up recovery each file is as it was before or as it should be after — never a
// mix — and the user is told when work was finished for them.

#include "DataFolder.h"

#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/CourseCopies.h"
#include "store/Csv.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/Journal.h"
#include "store/PersonImport.h"
#include "store/PersonTraining.h"
#include "store/Recovery.h"
#include "store/Removal.h"
#include "store/TrainingImport.h"

#include <QFileInfo>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace store;

namespace {

constexpr int kCrashed = 3;

double Stamp(int second) {
    return formats::DateValue(QDate(2014, 3, 7), QTime(8, 0, 0).addSecs(second));
}

QByteArray Person(int i) {
    PersonRecord p;
    p.DateCreated = Stamp(i);
    p.FirstName = QStringLiteral("First%1").arg(i);
    p.LastName = QStringLiteral("Last");
    return p.Encode();
}

QByteArray User(int i) {
    UserRecord u;
    u.DateCreated = Stamp(200 + i);
    u.FirstName = QStringLiteral("User%1").arg(i);
    u.LastName = QStringLiteral("Lee");
    u.AccessLevel = 4;
    return u.Encode();
}

QByteArray Course(int i, const QString& code) {
    CourseRecord c;
    c.DateCreated = Stamp(100 + i);
    c.CourseCode = code;
    c.CourseName = QStringLiteral("Course %1").arg(i);
    c.Hours = 8;
    return c.Encode();
}

QByteArray Training(int person, int course, const QString& code, int i) {
    TrainingRecord t;
    t.TrainingDate = formats::DateValue(QDate(2014, 1, 1).addDays(i));
    t.PersonKey = Stamp(person);
    t.CourseKey = Stamp(100 + course);
    t.CourseCode = code;
    t.CourseName = QStringLiteral("Course %1").arg(course);
    t.Hours = 8;
    return t.Encode();
}

using Files = QMap<QString, QByteArray>; // a missing file is absent

Files FolderFiles() {
    Files files;
    for (const QString& name : QDir().entryList(QDir::Files | QDir::System | QDir::Hidden))
        files.insert(name, ReadBytes(name));
    return files;
}

// Everything but Change.Log, whose lines are looked at on their own.
Files WithoutLog(Files files) {
    files.remove(ChangeLogFileName);
    return files;
}

// The log's lines of the work itself (not the start's repairs), after a check of its chain.
int WorkLines() {
    changelog::ChainCheck check;
    if (!changelog::CheckChain(check) || check.fault != changelog::ChainCheck::Fault::None)
        return -1;
    QList<changelog::ChangeEntry> entries;
    if (!changelog::ReadChanges({}, entries))
        return -1;
    return int(std::count_if(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.action != changelog::action::Repaired;
    }));
}

// The data files alone, without journals and copies.
Files DataFiles() {
    Files files = FolderFiles();
    for (const QString& name : files.keys()) {
        if (!name.endsWith(QLatin1String(".List")) && name != QLatin1String("Course.Index") &&
            name != QLatin1String("Training.Records"))
            files.remove(name);
    }
    return files;
}

void WriteFiles(const Files& files) {
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        WriteBytes(it.key(), it.value());
}

struct Operation {
    Files before;
    Files after;
    std::function<StoreResult()> run;
};

Operation MakeOperation(const QString& name) {
    const QString names = QStringLiteral("Name.List");
    const QString trainings = QStringLiteral("Training.Records");
    const QString courses = QStringLiteral("Course.Index");
    if (name == QLatin1String("person deletion")) {
        const QByteArray t1 = Training(1, 1, "A", 1), t2 = Training(2, 1, "A", 2),
                         t3 = Training(2, 2, "B", 3), t4 = Training(3, 2, "B", 4);
        return {{{names, Person(1) + Person(2) + Person(3)}, {trainings, t1 + t2 + t3 + t4}},
                {{names, Person(1) + Person(3)}, {trainings, t1 + t4}},
                [] {
                    PersonRemoval removal;
                    return RemovePerson(2, removal);
                }};
    }
    if (name == QLatin1String("course update")) {
        QByteArray before, after;
        for (int i = 0; i < 6; ++i) {
            const int course = 1 + i % 2;
            before += Training(i, course, "OLD", i);
            TrainingRecord t = TrainingRecord::Decode(Training(i, course, "OLD", i).constData());
            if (course == 1) {
                t.CourseCode = QStringLiteral("NEW");
                t.CourseName = QStringLiteral("Renamed");
                t.Hours = 4;
            }
            after += t.Encode();
        }
        return {{{trainings, before}}, {{trainings, after}}, [] {
                    CourseRecord c = CourseRecord::Decode(Course(1, "NEW").constData());
                    c.CourseName = QStringLiteral("Renamed");
                    c.Hours = 4;
                    CourseCopyTally tally;
                    return UpdateCourseCopies(c, tally);
                }};
    }
    if (name == QLatin1String("person saved")) {
        return {{{names, Person(1) + Person(2).left(400)}}, {{names, Person(1) + Person(3)}}, [] {
                    const StoreResult opened = OpenNameList();
                    if (!opened)
                        return opened;
                    Persons().Buffer() = PersonRecord::Decode(Person(3).constData());
                    const StoreResult written = Persons().Write(PersonCount() + 1);
                    CloseNameList();
                    return written;
                }};
    }
    if (name == QLatin1String("credit of several records")) {
        const QByteArray t1 = Training(1, 1, "A", 1), t2 = Training(2, 1, "A", 2),
                         t3 = Training(3, 1, "A", 3);
        return {{{trainings, t1}}, {{trainings, t1 + t2 + t3}}, [] {
                    return AppendTrainingRecords(
                        {TrainingRecord::Decode(Training(2, 1, "A", 2).constData()),
                         TrainingRecord::Decode(Training(3, 1, "A", 3).constData())});
                }};
    }
    if (name == QLatin1String("training import")) {
        const QByteArray t1 = Training(1, 1, "A", 1);
        const CourseRecord course = CourseRecord::Decode(Course(1, "A").constData());
        const double day = formats::DateValue(QDate(2014, 1, 5));
        const QByteArray imported = CreditedRecord(course, Stamp(2), day, {}).Encode() +
                                    CreditedRecord(course, Stamp(3), day, {}).Encode();
        const Files files = {{names, Person(1) + Person(2) + Person(3)}, {courses, Course(1, "A")}};
        Files after = files;
        after.insert(trainings, t1 + imported);
        Files before = files;
        before.insert(trainings, t1);
        return {before, after, [] {
                    csv::Table table;
                    (void)csv::Parse("Last,First,Code,Date\nLast,First2,A,1/5/2014\n"
                                     "Last,First3,A,1/5/2014\n",
                                     QStringLiteral("class.csv"), table);
                    csvimport::TrainingImport plan;
                    const StoreResult planned = csvimport::PlanTrainingImport(
                        table,
                        csvimport::MatchColumns(table.records.front().fields,
                                                csvimport::Kind::Training),
                        QDate(2014, 3, 7), plan);
                    return planned ? csvimport::AppendTrainingImport(plan) : planned;
                }};
    }
    if (name == QLatin1String("roster import")) {
        // The clock stands at person 1's second: the two new persons get seconds 2 and 3.
        PersonRecord second = PersonRecord::Decode(Person(2).constData());
        second.LastName = QStringLiteral("New");
        PersonRecord third = PersonRecord::Decode(Person(3).constData());
        third.LastName = QStringLiteral("New");
        return {
            {{names, Person(1)}}, {{names, Person(1) + second.Encode() + third.Encode()}}, [] {
                SetClock([] { return QDateTime(QDate(2014, 3, 7), QTime(8, 0, 1)); });
                csv::Table table;
                (void)csv::Parse("Last Name,First Name\nNew,First2\nNew,First3\n",
                                 QStringLiteral("roster.csv"), table);
                csvimport::PersonImport plan;
                const StoreResult planned = csvimport::PlanPersonImport(
                    table,
                    csvimport::MatchColumns(table.records.front().fields, csvimport::Kind::Persons),
                    plan);
                return planned ? csvimport::AppendPersonImport(plan) : planned;
            }};
    }
    if (name == QLatin1String("training record changed")) {
        TrainingRecord changed = TrainingRecord::Decode(Training(1, 1, "A", 1).constData());
        changed.Comments = QStringLiteral("changed");
        return {{{trainings, Training(1, 1, "A", 1) + Training(2, 1, "A", 2)}},
                {{trainings, changed.Encode() + Training(2, 1, "A", 2)}},
                [] {
                    return ChangeTrainingRecord(1, Stamp(1), [](TrainingRecord& t) {
                        t.Comments = QStringLiteral("changed");
                    });
                }};
    }
    // A removal of one record.
    return {{{courses, Course(1, "A") + Course(2, "B") + Course(3, "C")}},
            {{courses, Course(1, "A") + Course(3, "C")}},
            [] { return RemoveMarkedRecord(DataFile::CourseIndex, 2); }};
}

// Runs `run` in a child process that dies at its `stopAt`-th event: a step of a removal, or
// a write, of which half then reaches the file. Returns false when the work ended first.
bool StopsAt(int stopAt, const std::function<StoreResult()>& run) {
    changelog::Settle(); // no sync of the parent's is in flight in the child
    const pid_t child = ::fork();
    if (child == 0) {
        int events = 0;
        testing::SetRemovalHook([&](RemovalStep) {
            if (++events == stopAt)
                ::_exit(kCrashed);
            return true;
        });
        bool halfWritten = false;
        io::testing::SetWriteHook([&](const QString&, qint64 wanted, int&) {
            if (halfWritten)
                ::_exit(kCrashed); // the rest of the write never comes
            if (++events == stopAt && wanted > 1) {
                halfWritten = true;
                return wanted / 2;
            }
            if (events == stopAt)
                ::_exit(kCrashed);
            return wanted;
        });
        (void)run();
        changelog::Settle(); // as the program does at its end
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == kCrashed;
}

// The journal a unit of work keeps while it runs, and the file that a copy from a backup
// replaces while the program is stopped.
struct StaleCase {
    QString journal;
    QString file;
};

StaleCase StaleCaseOf(const QString& operation) {
    if (operation == QLatin1String("person deletion"))
        return {PersonRemovalJournal, QStringLiteral("Name.List")};
    if (operation == QLatin1String("course update"))
        return {CourseUpdateJournal, QStringLiteral("Training.Records")};
    return {RecordWriteJournal, QStringLiteral("Training.Records")};
}

// A journal written to its end: one cut short is no journal and is simply deleted.
bool WholeJournal(const QString& name) {
    return ReadBytes(name).endsWith("\nend\n");
}

// Puts `bytes` under `name` as a copy from a backup arrives: as another file renamed in, or
// written over the same file in place.
void CopyIn(const QString& name, const QByteArray& bytes, bool renamedIn) {
    if (renamedIn) {
        QVERIFY(WriteBytes(QStringLiteral("backup copy"), bytes));
        QVERIFY(::rename("backup copy", QFile::encodeName(name).constData()) == 0);
    } else {
        QVERIFY(WriteBytes(name, bytes));
    }
}

} // namespace

class TestStops : public QObject {
    Q_OBJECT

private slots:
    void everyStopIsFinishedOrUndone_data();
    void everyStopIsFinishedOrUndone();
    void staleJournalLeavesReplacedFileAlone_data();
    void staleJournalLeavesReplacedFileAlone();
};

void TestStops::everyStopIsFinishedOrUndone_data() {
    QTest::addColumn<QString>("operation");
    QTest::newRow("person deletion") << QStringLiteral("person deletion");
    QTest::newRow("course update") << QStringLiteral("course update");
    QTest::newRow("removal") << QStringLiteral("removal");
    QTest::newRow("person saved") << QStringLiteral("person saved");
    QTest::newRow("credit of several records") << QStringLiteral("credit of several records");
    QTest::newRow("training record changed") << QStringLiteral("training record changed");
    QTest::newRow("training import") << QStringLiteral("training import");
    QTest::newRow("roster import") << QStringLiteral("roster import");
}

void TestStops::everyStopIsFinishedOrUndone() {
    QFETCH(QString, operation);
    Operation op = MakeOperation(operation);
    // A data folder has its users: a short copy left behind is then no possible start of a
    // missing User.List, which would be kept rather than deleted.
    op.before.insert(QStringLiteral("User.List"), User(1));
    op.after.insert(QStringLiteral("User.List"), User(1));
    // The change and its lines are on file both or neither.
    int lines = 0;
    {
        DataFolder folder;
        QVERIFY(folder.ready());
        WriteFiles(op.before);
        QVERIFY(op.run());
        lines = WorkLines();
        QVERIFY(lines > 0);
    }
    int stops = 0;
    for (int stopAt = 1;; ++stopAt) {
        DataFolder folder;
        QVERIFY(folder.ready());
        WriteFiles(op.before);
        if (!StopsAt(stopAt, op.run)) {
            QCOMPARE(WithoutLog(FolderFiles()), op.after); // the work ran to its end
            QCOMPARE(WorkLines(), lines);
            break;
        }
        ++stops;
        const Files crashed = DataFiles();
        QStringList notes;
        const StoreResult recovered = FinishInterruptedWork(notes);
        QVERIFY2(recovered.ok(), qPrintable(recovered.text()));
        const Files now = WithoutLog(FolderFiles());
        QVERIFY2(now == op.before || now == op.after,
                 qPrintable(QStringLiteral("stop %1 left a mix: %2")
                                .arg(stopAt)
                                .arg(QStringList(now.keys()).join(u' '))));
        QVERIFY2(WorkLines() == (now == op.after ? lines : 0),
                 qPrintable(QStringLiteral("stop %1: %2 lines of %3 with the files %4")
                                .arg(stopAt)
                                .arg(WorkLines())
                                .arg(lines)
                                .arg(now == op.after ? "after" : "before")));
        // Whatever the recovery changed, the user hears of.
        if (DataFiles() != crashed)
            QVERIFY2(!notes.isEmpty(), qPrintable(QStringLiteral("stop %1").arg(stopAt)));
    }
    QVERIFY(stops >= 2); // at least in the middle of the journal and of the records
}

void TestStops::staleJournalLeavesReplacedFileAlone_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("renamedIn"); // else the same file, written over with another length
    const char* operations[] = {"training record changed", "credit of several records",
                                "course update", "person deletion"};
    for (const char* operation : operations) {
        QTest::addRow("%s, backup renamed in", operation) << QString::fromLatin1(operation) << true;
        QTest::addRow("%s, backup written over it", operation)
            << QString::fromLatin1(operation) << false;
    }
}

// Stopped while its journal stands, the work meets at the next start a file copied in from a
// backup meanwhile: the file is left as the copy made it, the journal is set aside and the
// user is told.
void TestStops::staleJournalLeavesReplacedFileAlone() {
    QFETCH(QString, operation);
    QFETCH(bool, renamedIn);
    const Operation op = MakeOperation(operation);
    const StaleCase stale = StaleCaseOf(operation);
    // The backup: the file as it was before, with one record more, so that its length also
    // differs from the one the work began with.
    const QByteArray extra = stale.file == QLatin1String("Name.List")
                                 ? Person(7)
                                 : Training(7, 2, QStringLiteral("BACKUP"), 7);
    const QByteArray backup = op.before.value(stale.file) + extra;
    int stops = 0;
    for (int stopAt = 1;; ++stopAt) {
        DataFolder folder;
        QVERIFY(folder.ready());
        WriteFiles(op.before);
        WriteBytes(QStringLiteral("User.List"), User(1));
        if (!StopsAt(stopAt, op.run))
            break;
        if (!WholeJournal(stale.journal))
            continue;
        ++stops;
        CopyIn(stale.file, backup, renamedIn);
        QStringList notes;
        const StoreResult recovered = FinishInterruptedWork(notes);
        QVERIFY2(recovered.ok(), qPrintable(recovered.text()));
        const QString at = QStringLiteral("stop %1").arg(stopAt);
        QVERIFY2(ReadBytes(stale.file) == backup, qPrintable(at));
        QVERIFY2(!QFileInfo::exists(stale.journal), qPrintable(at));
        const QString aside = stale.journal + QStringLiteral(".not-applied");
        QVERIFY2(WholeJournal(aside), qPrintable(at));
        const QString told = notes.join(u' ');
        QVERIFY2(told.contains(QStringLiteral("replaced since")) && told.contains(aside),
                 qPrintable(at + QStringLiteral(": ") + told));
    }
    QVERIFY(stops >= 1);
}

QTEST_APPLESS_MAIN(TestStops)
#include "test_stops.moc"
