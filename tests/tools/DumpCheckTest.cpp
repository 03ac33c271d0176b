// dump prints records as stored; check names each kind of damage.

#include "ToolTestSupport.h"

#include "store/ChangeLog.h"
#include "store/DataFolder.h"
#include "store/Records.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using tooltest::RecordBytes;
using tooltest::RunTool;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// 3/1/2005 12:33:50 PM as the program stamps it, and the same instant as 15 digits.
const double Stamp = 38412 + 45230 / 86400.0;
const double StampDigits = 38412.5234953704;

using Files = QList<QPair<QString, QByteArray>>;

QByteArray Course(double created, const QString& code, float hours) {
    store::CourseRecord course;
    course.DateCreated = created;
    course.CourseCode = code;
    course.CourseName = QStringLiteral("Course ") + code;
    course.Hours = hours;
    return course.Encode();
}

QByteArray Person(double created, const QString& firstName = QStringLiteral("Ann")) {
    store::PersonRecord person;
    person.DateCreated = created;
    person.FirstName = firstName;
    person.LastName = QStringLiteral("Lee");
    return person.Encode();
}

QByteArray Training(double personKey, float hours = 8, double date = 41000) {
    store::TrainingRecord training;
    training.TrainingDate = date;
    training.PersonKey = personKey;
    training.CourseKey = Stamp;
    training.CourseCode = QStringLiteral("FIR-0001");
    training.Hours = hours;
    return training.Encode();
}

QByteArray User(double created, qint16 accessLevel) {
    store::UserRecord user;
    user.DateCreated = created;
    user.FirstName = QStringLiteral("Pat");
    user.LastName = QStringLiteral("Kim");
    user.AccessLevel = accessLevel;
    return user.Encode();
}

} // namespace

class DumpCheckTest : public QObject {
    Q_OBJECT

private slots:
    void dump_data();
    void dump();
    void dumpOfMissingFileIsEmptyAndCreatesNothing();
    void readOnlyFolderIsRead();
    void checkCleanSample();
    void checkFindings_data();
    void checkFindings();

private:
    QTemporaryDir dir_;
    QString Folder(const QString& name) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(path);
        return path;
    }
};

void DumpCheckTest::dump_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    // Windows-1252: e9 is é, 80 is €, 96 an en dash; old records pad with NULs.
    const QByteArray course1 = RecordBytes()
                                   .Double(StampDigits)
                                   .Text("FIR-0001", 8)
                                   .Text("Caf\xe9 \x80 Safety \x96 Range", 50)
                                   .Text("  Range Staff", 30)
                                   .Single(1.2f)
                                   .Text("He said \"ok\"\\\ttab\r\nnext", 200, '\0')
                                   .Bytes();
    const QByteArray course2 = RecordBytes()
                                   .Double(Stamp)
                                   .Text("FIR-0000", 8)
                                   .Text("FIREARMS", 50)
                                   .Text("", 30)
                                   .Single(0)
                                   .Text("\x01\x7f\x81\x90\x9d", 200, '\0')
                                   .Bytes();
    QTest::newRow("courses, partial tail ignored")
        << "Course.Index" << course1 + course2 + QByteArray(120, 'x')
        << QStringLiteral(
               "{\"RecNum\":1,\"DateCreated\":38412.5234953704,\"CourseCode\":\"FIR-0001\","
               "\"CourseName\":\"Café € Safety – Range\",\"ProvidedBy\":\"Range Staff\","
               "\"Hours\":1.2,\"Comments\":\"He said \\\"ok\\\"\\\\\\ttab\\r\\nnext\"}\n"
               "{\"RecNum\":2,\"DateCreated\":38412.52349537037,\"CourseCode\":\"FIR-0000\","
               "\"CourseName\":\"FIREARMS\",\"ProvidedBy\":\"\",\"Hours\":0,"
               "\"Comments\":\"\\u0001\\u007f\\u0081\\u0090\\u009d\"}\n");

    // Half a record or more at the end is a record, as the program counts it.
    QTest::newRow("courses, half a record counted")
        << "Course.Index" << course2 + course1.left(150)
        << QStringLiteral(
               "{\"RecNum\":1,\"DateCreated\":38412.52349537037,\"CourseCode\":\"FIR-0000\","
               "\"CourseName\":\"FIREARMS\",\"ProvidedBy\":\"\",\"Hours\":0,"
               "\"Comments\":\"\\u0001\\u007f\\u0081\\u0090\\u009d\"}\n"
               "{\"RecNum\":2,\"DateCreated\":38412.5234953704,\"CourseCode\":\"FIR-0001\","
               "\"CourseName\":\"Café € Safety – Range\",\"ProvidedBy\":\"Range Staff\","
               "\"Hours\":1.2,\"Comments\":\"He said \\\"ok\\\"\\\\\\ttab\\r\\nnext\"}\n");

    const auto person = [](double created, const QByteArray& first, qint16 active) {
        return RecordBytes()
            .Double(created)
            .Text(first, 15)
            .Text("J", 15)
            .Text("O'Brien", 20)
            .Text("Patrol Division", 30)
            .Text("PD00042", 20)
            .Text("", 890)
            .Int16(active)
            .Bytes();
    };
    QTest::newRow("persons, odd dates and flags")
        << "Name.List"
        << person(NaN, "Zo\xeb", -1) + person(-1.25, "Ann", 0) + person(-Inf, "Bo", 1)
        << QStringLiteral(
               "{\"RecNum\":1,\"DateCreated\":null,\"FirstName\":\"Zoë\",\"MiddleName\":\"J\","
               "\"LastName\":\"O'Brien\",\"Organization\":\"Patrol Division\","
               "\"EmployeeID\":\"PD00042\",\"Comments\":\"\",\"Active\":-1}\n"
               "{\"RecNum\":2,\"DateCreated\":-1.25,\"FirstName\":\"Ann\",\"MiddleName\":\"J\","
               "\"LastName\":\"O'Brien\",\"Organization\":\"Patrol Division\","
               "\"EmployeeID\":\"PD00042\",\"Comments\":\"\",\"Active\":0}\n"
               "{\"RecNum\":3,\"DateCreated\":null,\"FirstName\":\"Bo\",\"MiddleName\":\"J\","
               "\"LastName\":\"O'Brien\",\"Organization\":\"Patrol Division\","
               "\"EmployeeID\":\"PD00042\",\"Comments\":\"\",\"Active\":1}\n");

    QTest::newRow("training")
        << "Training.Records"
        << RecordBytes()
               .Double(41000)
               .Double(Stamp)
               .Double(38000.75)
               .Text("$Killed$", 8)
               .Text("Patrol Rifle", 50)
               .Text("State Police Academy", 30)
               .Single(0.1f)
               .Text("Qualified 94%", 184)
               .Bytes()
        << QStringLiteral("{\"RecNum\":1,\"TrainingDate\":41000,\"PersonKey\":38412.52349537037,"
                          "\"CourseKey\":38000.75,\"CourseCode\":\"$Killed$\","
                          "\"CourseName\":\"Patrol Rifle\",\"ProvidedBy\":\"State Police "
                          "Academy\",\"Hours\":0.1,\"Comments\":\"Qualified 94%\"}\n");

    QTest::newRow("user, access level as stored")
        << "User.List"
        << RecordBytes()
               .Double(38412)
               .Text("Pat", 15)
               .Text("Kim", 20)
               .Text("x1y2z3w4", 16)
               .Int16(7)
               .Text("", 439)
               .Bytes()
        << QStringLiteral("{\"RecNum\":1,\"DateCreated\":38412,\"FirstName\":\"Pat\","
                          "\"LastName\":\"Kim\",\"Password\":\"x1y2z3w4\",\"AccessLevel\":7,"
                          "\"Comments\":\"\"}\n");
}

void DumpCheckTest::dump() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString folder = Folder(QStringLiteral("dump-") + QTest::currentDataTag());
    QVERIFY(tooltest::WriteFile(QDir(folder).filePath(file), bytes));

    const tooltest::ToolRun run =
        RunTool({QStringLiteral("dump"), QStringLiteral("--dir"), folder, file});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, expected);
    // The file name is taken whatever its letter case.
    QCOMPARE(
        RunTool({QStringLiteral("dump"), QStringLiteral("--dir=") + folder, file.toLower()}).out,
        expected);
}

void DumpCheckTest::dumpOfMissingFileIsEmptyAndCreatesNothing() {
    const QString folder = Folder(QStringLiteral("dump-missing"));
    const tooltest::ToolRun dump = RunTool(
        {QStringLiteral("dump"), QStringLiteral("--dir"), folder, QStringLiteral("Name.List")});
    QCOMPARE(dump.code, 0);
    QCOMPARE(dump.out, QString());
    const tooltest::ToolRun check =
        RunTool({QStringLiteral("check"), QStringLiteral("--dir"), folder});
    QCOMPARE(check.code, 0);
    QCOMPARE(check.out, QStringLiteral("OK\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
}

void DumpCheckTest::readOnlyFolderIsRead() {
    const QString folder = Folder(QStringLiteral("read-only"));
    QVERIFY(tooltest::WriteFile(QDir(folder).filePath(QStringLiteral("Name.List")),
                                Person(Stamp) + Person(38413)));
    QVERIFY(QFile::setPermissions(QFileInfo(folder).absolutePath(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ExeGroup | QFile::ExeOther));
    const ReadOnlyFolder readOnly(folder);
    QVERIFY(readOnly.ready());
    const tooltest::ToolRun dump = RunTool(
        {QStringLiteral("dump"), QStringLiteral("--dir"), folder, QStringLiteral("Name.List")});
    QCOMPARE(dump.err, QString());
    QCOMPARE(dump.out.count(QStringLiteral("\"RecNum\"")), 2);
    const tooltest::ToolRun check =
        RunTool({QStringLiteral("check"), QStringLiteral("--dir"), folder});
    QCOMPARE(check.err, QString());
    QCOMPARE(check.out, QStringLiteral("OK\n"));
}

void DumpCheckTest::checkCleanSample() {
    const QString folder = Folder(QStringLiteral("check-clean"));
    const tooltest::ToolRun sample =
        RunTool({QStringLiteral("sample"), QStringLiteral("--dir"), folder,
                 QStringLiteral("--persons"), QStringLiteral("30"), QStringLiteral("--courses"),
                 QStringLiteral("12"), QStringLiteral("--records"), QStringLiteral("400")});
    QCOMPARE(sample.code, 0);
    const tooltest::ToolRun check =
        RunTool({QStringLiteral("check"), QStringLiteral("--dir"), folder});
    QCOMPARE(check.err, QString());
    QCOMPARE(check.out, QStringLiteral("OK\n"));
    QCOMPARE(check.code, 0);
}

void DumpCheckTest::checkFindings_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("expected");

    QTest::newRow("length not whole records")
        << Files{{"Course.Index", Course(Stamp, "FIR-0001", 8) + QByteArray(120, ' ')}}
        << QStringLiteral("Course.Index: length 420 bytes is not a whole number of 300-byte "
                          "records (120 bytes over)\n");

    QTest::newRow("part of a record counted")
        << Files{{"Name.List", Person(Stamp) + Person(38413).left(600)}}
        << QStringLiteral("Name.List: length 1600 bytes is not a whole number of 1000-byte "
                          "records (600 bytes over)\n"
                          "Name.List record 2: only 600 of its 1000 bytes are there; the "
                          "program counts it as a record, the missing bytes reading as zeros\n");

    store::PersonRecord odd;
    odd.DateCreated = 38414;
    odd.FirstName = QStringLiteral("Bo");
    odd.Active = 1;
    QTest::newRow("Active neither 0 nor -1")
        << Files{{"Name.List", Person(Stamp) + odd.Encode()}}
        << QStringLiteral("Name.List record 2: Active 1 is neither 0 (false) nor -1 (true)\n");

    QTest::newRow("folder in place of a file")
        << Files{{"Name.List", QByteArray()}, {"Course.Index", Course(1, "$Killed$", 0)}}
        << QStringLiteral("Name.List: is a folder, not a data file\n"
                          "Course.Index record 1: carries the removal marker \"$Killed$\"\n");

    QByteArray full;
    for (int i = 1; i <= 32768; ++i) {
        full += Course(i, "C", 1);
    }
    QTest::newRow("more records than the list can count")
        << Files{{"Course.Index", full}}
        << QStringLiteral("Course.Index: 32768 records, more than the 32767 this file can count\n");

    // Three lines of a change log, the second altered by hand.
    store::changelog::Change change;
    change.time = QDateTime(QDate(2026, 12, 8), QTime(9, 30), Qt::UTC);
    change.action = QStringLiteral("Edited");
    change.kind = QStringLiteral("Person");
    store::changelog::Link link = store::changelog::HeaderLink();
    QByteArray log = QByteArray(store::changelog::kHeader) + '\n';
    for (int i = 0; i < 3; ++i) {
        log += store::changelog::ChainedLine(link, store::changelog::ContentOf(change), link);
    }
    const qsizetype second = log.indexOf("Edited", log.indexOf("Edited") + 1);
    log.replace(second, 6, "Erased");
    QTest::newRow("change log altered")
        << Files{{"Change.Log", log}} << QStringLiteral("Change.Log: Line 3 was altered.\n");

    QTest::newRow("leftover temporary file")
        << Files{{"Name.List", Person(Stamp)}, {"TempFile.$$$", Person(Stamp)}}
        << QStringLiteral("TempFile.$$$: left over from an interrupted removal\n");

    QTest::newRow("interrupted work")
        << Files{{"PersonRemoval.Journal", "x"},
                 {"CourseUpdate.Journal", "y"},
                 {"RecordWrite.Journal", "z"},
                 {"RecordWrite.Journal.done", "w"}}
        << QStringLiteral("RecordWrite.Journal: a save was interrupted; the program undoes it "
                          "at its next start\n"
                          "PersonRemoval.Journal: a person's removal was interrupted; the "
                          "program finishes it at its next start\n"
                          "CourseUpdate.Journal: an update of a course's training records was "
                          "interrupted; the program finishes it at its next start\n"
                          "RecordWrite.Journal.done: a save was made; the program completes "
                          "its lines in the change log at its next start\n");

    QTest::newRow("kept by a repair")
        << Files{{"RecordWrite.Journal.not-applied", "x"},
                 {"TempFile kept 2026-12-08 14-30.$$$", Person(Stamp)},
                 {"Name.List.Partial", "y"}}
        << QStringLiteral("Name.List.Partial: set aside by a repair at the program's start; "
                          "compare it with the data files, then remove it\n"
                          "RecordWrite.Journal.not-applied: set aside by a repair at the "
                          "program's start; compare it with the data files, then remove it\n"
                          "TempFile kept 2026-12-08 14-30.$$$: set aside by a repair at the "
                          "program's start; compare it with the data files, then remove it\n");

    // A folder first, then what it holds.
    QTest::newRow("restore stopped before its deciding step")
        << Files{{"Restore staging.$$$", QByteArray()},
                 {"Restore staging.$$$/User.List", User(1, 4)}}
        << QStringLiteral("Restore staging.$$$: a restore was interrupted before it changed "
                          "anything; the program removes it at its next start\n");

    QTest::newRow("restore stopped after its deciding step")
        << Files{{"Restore swap.$$$", QByteArray()},
                 {"Restore swap.$$$/Restore.list", "kept Before restore\nrestore User.List\n"},
                 {"Restore swap.$$$/User.List", User(1, 4)}}
        << QStringLiteral("Restore swap.$$$: a restore was interrupted after it was decided; "
                          "the program finishes it at its next start\n");

    QTest::newRow("restore swap folder without its list")
        << Files{{"Restore swap.$$$", QByteArray()}, {"Restore swap.$$$/Name.List", Person(1)}}
        << QStringLiteral("Restore swap.$$$: it holds copies of data files but not its list of "
                          "what to do; the program keeps it and asks you to compare them with "
                          "the data files\n");

    QTest::newRow("removal marker")
        << Files{{"Name.List", Person(1) + Person(2, "$Killed$")},
                 {"Course.Index", Course(1, "$Killed$", 0)}}
        << QStringLiteral("Name.List record 2: carries the removal marker \"$Killed$\"\n"
                          "Course.Index record 1: carries the removal marker \"$Killed$\"\n");

    QTest::newRow("repeated identity")
        << Files{{"User.List", User(38412, 1) + User(38412, 2)},
                 {"Name.List", Person(Stamp) + Person(38413) + Person(Stamp)}}
        << QStringLiteral("User.List record 2: DateCreated 38412 (3/1/2005) repeats record 1\n"
                          "Name.List record 3: DateCreated 38412.52349537037 (3/1/2005 12:33:50 "
                          "PM) repeats record 1\n");

    QTest::newRow("training of no person")
        << Files{{"Name.List", Person(Stamp)},
                 {"Training.Records", Training(Stamp) + Training(38413) + Training(Stamp)}}
        << QStringLiteral("Training.Records record 2: PersonKey 38413 (3/2/2005) matches no "
                          "person in Name.List\n");

    // The rule of the history and the person deletion: a key a fraction of a second off is
    // the person's, one a second off is nobody's.
    QTest::newRow("keys by the whole second")
        << Files{{"Name.List", Person(Stamp)},
                 {"Training.Records",
                  Training(Stamp + 0.3 / 86400) + Training(Stamp + 1.0 / 86400)}}
        << QStringLiteral("Training.Records record 2: PersonKey 38412.523506944446 (3/1/2005 "
                          "12:33:51 PM) matches no person in Name.List\n");

    QTest::newRow("access level outside 1 to 4")
        << Files{{"User.List", User(1, 0) + User(2, 4) + User(3, 5) + User(4, 1)}}
        << QStringLiteral("User.List record 1: AccessLevel 0 is outside 1 to 4\n"
                          "User.List record 3: AccessLevel 5 is outside 1 to 4\n");

    QTest::newRow("NaN and infinite numbers")
        << Files{{"Course.Index", Course(NaN, "FIR-0001", 8) + Course(2, "FIR-0002", float(Inf))},
                 {"Name.List", Person(Stamp)},
                 {"Training.Records", Training(Stamp, float(-Inf), NaN)}}
        << QStringLiteral("Course.Index record 1: DateCreated is not a number\n"
                          "Course.Index record 2: Hours is infinite\n"
                          "Training.Records record 1: TrainingDate is not a number\n"
                          "Training.Records record 1: Hours is infinite\n");
}

void DumpCheckTest::checkFindings() {
    QFETCH(Files, files);
    QFETCH(QString, expected);
    const QString folder = Folder(QStringLiteral("check-") + QTest::currentDataTag());
    for (const auto& [name, bytes] : files) {
        // No bytes at all: a folder stands in the file's place.
        QVERIFY(bytes.isNull() ? QDir(folder).mkdir(name)
                               : tooltest::WriteFile(QDir(folder).filePath(name), bytes));
    }
    const tooltest::ToolRun run =
        RunTool({QStringLiteral("check"), QStringLiteral("--dir"), folder});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, expected);
    QCOMPARE(run.code, 1);
}

int RunDumpCheckTests(int argc, char* argv[]) {
    DumpCheckTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DumpCheckTest.moc"
