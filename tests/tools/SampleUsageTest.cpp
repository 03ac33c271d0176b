// sample writes a realistic, repeatable data set and keeps existing files; every command
// refuses bad input with exit code 2.

#include "ToolTestSupport.h"

#include "store/Clock.h"
#include "store/Codepage.h"
#include "store/Formats.h"
#include "store/Records.h"
#include "store/TrainingRules.h"
#include "store/UserLog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

using tooltest::ReadFile;
using tooltest::RunTool;

namespace {

const QStringList DataFiles{QStringLiteral("User.List"), QStringLiteral("Name.List"),
                            QStringLiteral("Course.Index"), QStringLiteral("Training.Records"),
                            QStringLiteral("Training.Rules")};

template <class Record> std::vector<Record> ReadRecords(const QString& path) {
    const QByteArray bytes = ReadFile(path);
    std::vector<Record> records;
    for (qsizetype at = 0; at + Record::Length <= bytes.size(); at += Record::Length) {
        records.push_back(Record::Decode(bytes.constData() + at));
    }
    return records;
}

bool IsWholeSecond(double value) {
    const double seconds = value * 86400;
    return std::abs(seconds - std::round(seconds)) < 1e-4;
}

QString T(const QString& field) {
    return store::TrimField(field);
}

} // namespace

class SampleUsageTest : public QObject {
    Q_OBJECT

private slots:
    // Today, as far as the sample is concerned; the same clock and seed give the same files.
    void init() {
        store::SetClock([] { return QDateTime(Today, QTime(10, 30)); });
    }
    void cleanup() { store::SetClock({}); }
    void sampleContents();
    void sampleMakesAMissingFolder();
    void sameSeedSameBytes();
    void refusesToReplaceWithoutForce();
    void usageErrors_data();
    void usageErrors();
    void help();

private:
    inline static const QDate Today{2026, 3, 15};
    QTemporaryDir dir_;
    QString Folder(const QString& name) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    tooltest::ToolRun Sample(const QString& folder, const QString& seed,
                             const QStringList& more = {}) {
        return RunTool(QStringList{QStringLiteral("sample"), QStringLiteral("--dir"), folder,
                                   QStringLiteral("--persons"), QStringLiteral("40"),
                                   QStringLiteral("--courses"), QStringLiteral("25"),
                                   QStringLiteral("--records"), QStringLiteral("500"),
                                   QStringLiteral("--seed"), seed} +
                       more);
    }
};

void SampleUsageTest::sampleContents() {
    const QString folder = Folder(QStringLiteral("contents"));
    const tooltest::ToolRun run = Sample(folder, QStringLiteral("42"));
    QCOMPARE(run.err, QString());
    QCOMPARE(run.code, 0);
    const QStringList lines = run.out.split(u'\n');
    QCOMPARE(lines.value(0), QStringLiteral("Wrote 40 persons, 25 courses (2 headings), 500 "
                                            "training records and 1 user to ") +
                                 folder);
    const QRegularExpressionMatch signIn =
        QRegularExpression(QStringLiteral("^Sign in as (\\S+) (\\S+) with password (\\S+)$"))
            .match(lines.value(1));
    QVERIFY2(signIn.hasMatch(), qPrintable(lines.value(1)));

    const QDir data(folder);
    QCOMPARE(QFileInfo(data.filePath("User.List")).size(), 500);
    QCOMPARE(QFileInfo(data.filePath("Course.Index")).size(), 25 * 300);
    QCOMPARE(QFileInfo(data.filePath("Name.List")).size(), 40 * 1000);
    QCOMPARE(QFileInfo(data.filePath("Training.Records")).size(), 500 * 300);

    // The one user: every right, and the printed password is the stored one.
    const auto users = ReadRecords<store::UserRecord>(data.filePath("User.List"));
    QCOMPARE(users.front().AccessLevel, qint16(4));
    QCOMPARE(T(users.front().FirstName), signIn.captured(1));
    QCOMPARE(T(users.front().LastName), signIn.captured(2));
    const QString password = signIn.captured(3);
    QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9]{4,8}$")).match(password).hasMatch());
    QCOMPARE(T(users.front().Password).size(), 2 * password.size());
    QCOMPARE(store::UnscramblePassword(users.front().Password), password);

    // The catalogue: two headings of 0 hours, then courses numbered within their category.
    const auto courses = ReadRecords<store::CourseRecord>(data.filePath("Course.Index"));
    QCOMPARE(T(courses[0].CourseCode), QStringLiteral("FIR-0000"));
    QCOMPARE(T(courses[0].CourseName), QStringLiteral("FIREARMS"));
    QCOMPARE(courses[0].Hours, 0.0f);
    QCOMPARE(T(courses[1].CourseCode), QStringLiteral("DEF-0000"));
    QCOMPARE(courses[1].Hours, 0.0f);
    QCOMPARE(T(courses[2].CourseCode), QStringLiteral("FIR-0001"));
    QCOMPARE(T(courses[3].CourseCode), QStringLiteral("DEF-0001"));
    QCOMPARE(T(courses[24].CourseCode), QStringLiteral("FIR-0012"));
    QHash<double, store::CourseRecord> byKey;
    bool whole = false;
    bool fractional = false;
    for (std::size_t i = 2; i < courses.size(); ++i) {
        QVERIFY(courses[i].Hours > 0);
        QVERIFY(!T(courses[i].CourseName).isEmpty());
        whole = whole || courses[i].Hours == std::floor(courses[i].Hours);
        fractional = fractional || courses[i].Hours != std::floor(courses[i].Hours);
        byKey.insert(courses[i].DateCreated, courses[i]);
    }
    QVERIFY(whole && fractional);

    // The rules: 24 hours a year; firearms courses last a year, the first one required.
    store::TrainingRules rules;
    QVERIFY(store::ReadTrainingRules(rules, folder));
    QCOMPARE(rules.requiredHours, 24.0f);
    QCOMPARE(rules.RuleOf(courses[2].DateCreated), (store::CourseRule{12, true}));
    QCOMPARE(rules.RuleOf(courses[24].DateCreated), (store::CourseRule{12, false}));
    QCOMPARE(rules.courses.size(), std::size_t(12));

    // Persons: increasing whole-second identities, a mix of states and middle names.
    const auto persons = ReadRecords<store::PersonRecord>(data.filePath("Name.List"));
    QSet<double> personKeys;
    QSet<QString> employeeIds;
    int inactive = 0;
    int middleNames = 0;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        QVERIFY(IsWholeSecond(persons[i].DateCreated));
        QVERIFY(i == 0 || persons[i].DateCreated > persons[i - 1].DateCreated);
        QVERIFY(!T(persons[i].Organization).isEmpty());
        inactive += persons[i].Active == 0 ? 1 : 0;
        QVERIFY(persons[i].Active == 0 || persons[i].Active == -1);
        middleNames += T(persons[i].MiddleName).isEmpty() ? 0 : 1;
        personKeys.insert(persons[i].DateCreated);
        employeeIds.insert(T(persons[i].EmployeeID));
    }
    QCOMPARE(employeeIds.size(), 40);
    QVERIFY(inactive > 0 && inactive < 40);
    QVERIFY(middleNames > 0 && middleNames < 40);

    // Training: keys of existing persons and courses with hours, copies of the course,
    // whole-day dates over the twenty years up to today, in credited order, the last ones in
    // today's year.
    const auto trainings = ReadRecords<store::TrainingRecord>(data.filePath("Training.Records"));
    const double first = formats::DateValue(QDate(2006, 3, 16));
    const double end = formats::DateValue(Today.addDays(1));
    int comments = 0;
    double latest = 0;
    for (const store::TrainingRecord& training : trainings) {
        latest = std::max(latest, training.TrainingDate);
        QVERIFY(personKeys.contains(training.PersonKey));
        QVERIFY(byKey.contains(training.CourseKey));
        const store::CourseRecord& course = byKey[training.CourseKey];
        QCOMPARE(training.CourseCode, course.CourseCode);
        QCOMPARE(training.CourseName, course.CourseName);
        QCOMPARE(training.ProvidedBy, course.ProvidedBy);
        QCOMPARE(training.Hours, course.Hours);
        QCOMPARE(training.TrainingDate, std::floor(training.TrainingDate));
        QVERIFY(training.TrainingDate >= first && training.TrainingDate < end);
        comments += T(training.Comments).isEmpty() ? 0 : 1;
    }
    QVERIFY(comments > 0 && comments < 500);
    QVERIFY(trainings.front().TrainingDate < first + 365);
    QCOMPARE(formats::DatePart(latest).year(), Today.year());
}

// A missing folder is made, with the folders above it.
void SampleUsageTest::sampleMakesAMissingFolder() {
    const QString folder = dir_.filePath(QStringLiteral("new/big"));
    QVERIFY(!QFileInfo::exists(folder));
    const tooltest::ToolRun run = Sample(folder, QStringLiteral("1"));
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QVERIFY(QFile::exists(QDir(folder).filePath("Name.List")));
}

void SampleUsageTest::sameSeedSameBytes() {
    const QString a = Folder(QStringLiteral("seed-a"));
    const QString b = Folder(QStringLiteral("seed-b"));
    const QString c = Folder(QStringLiteral("seed-c"));
    QCOMPARE(Sample(a, QStringLiteral("7")).code, 0);
    QCOMPARE(Sample(b, QStringLiteral("7")).code, 0);
    QCOMPARE(Sample(c, QStringLiteral("8")).code, 0);
    for (const QString& name : DataFiles) {
        const QByteArray bytes = ReadFile(QDir(a).filePath(name));
        QVERIFY2(!bytes.isEmpty(), qPrintable(name));
        QVERIFY2(bytes == ReadFile(QDir(b).filePath(name)), qPrintable(name));
        QVERIFY2(bytes != ReadFile(QDir(c).filePath(name)), qPrintable(name));
    }
}

void SampleUsageTest::refusesToReplaceWithoutForce() {
    // A folder holding just one data file is not touched at all.
    const QString lone = Folder(QStringLiteral("refuse-lone"));
    store::PersonRecord person;
    person.DateCreated = 38412;
    person.FirstName = QStringLiteral("Ann");
    QVERIFY(tooltest::WriteFile(QDir(lone).filePath("Name.List"), person.Encode()));
    const tooltest::ToolRun refused = Sample(lone, QStringLiteral("1"));
    QCOMPARE(refused.code, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("Name.List")), qPrintable(refused.err));
    QVERIFY2(refused.err.contains(QStringLiteral("--force")), qPrintable(refused.err));
    QCOMPARE(refused.out, QString());
    QCOMPARE(QDir(lone).entryList(QDir::Files), QStringList{QStringLiteral("Name.List")});
    QCOMPARE(ReadFile(QDir(lone).filePath("Name.List")), person.Encode());

    const QString folder = Folder(QStringLiteral("refuse"));
    QCOMPARE(Sample(folder, QStringLiteral("1")).code, 0);
    const QByteArray before = ReadFile(QDir(folder).filePath("Training.Records"));
    QCOMPARE(Sample(folder, QStringLiteral("2")).code, 1);
    QCOMPARE(ReadFile(QDir(folder).filePath("Training.Records")), before);

    QCOMPARE(Sample(folder, QStringLiteral("2"), {QStringLiteral("--force")}).code, 0);
    QVERIFY(ReadFile(QDir(folder).filePath("Training.Records")) != before);

    // An empty list is left absent, as the program leaves it.
    QCOMPARE(Sample(folder, QStringLiteral("2"),
                    {QStringLiteral("--force"), QStringLiteral("--records"), QStringLiteral("0")})
                 .code,
             0);
    QVERIFY(!QFile::exists(QDir(folder).filePath("Training.Records")));
    QVERIFY(QFile::exists(QDir(folder).filePath("Name.List")));
}

void SampleUsageTest::usageErrors_data() {
    QTest::addColumn<QStringList>("args"); // %DIR% stands for an empty folder
    QTest::addColumn<QString>("message");

    QTest::newRow("no command") << QStringList{} << "Usage: mirtavel-data";
    QTest::newRow("unknown command") << QStringList{"list"} << "unknown command 'list'";
    QTest::newRow("dump without file")
        << QStringList{"dump", "--dir", "%DIR%"} << "dump needs a FILE";
    QTest::newRow("dump unknown file")
        << QStringList{"dump", "--dir", "%DIR%", "User.Log"} << "unknown file 'User.Log'";
    QTest::newRow("dump two files")
        << QStringList{"dump", "--dir", "%DIR%", "Name.List", "User.List"}
        << "unexpected argument 'User.List'";
    QTest::newRow("dump missing folder")
        << QStringList{"dump", "--dir", "%DIR%/none", "Name.List"} << "/none' does not exist";
    QTest::newRow("check missing folder")
        << QStringList{"check", "--dir", "%DIR%/none"} << "/none' does not exist";
    QTest::newRow("check folder is a file")
        << QStringList{"check", "--dir", "%DIR%/../ToolTestMarker"} << "is not a folder";
    QTest::newRow("check unknown option")
        << QStringList{"check", "--verbose"} << "Unknown option 'verbose'";
    QTest::newRow("dir without value") << QStringList{"check", "--dir"} << "--dir";
    QTest::newRow("sample folder is a file")
        << QStringList{"sample", "--dir", "%DIR%/../ToolTestMarker"} << "is not a folder";
    QTest::newRow("persons not a number")
        << QStringList{"sample", "--dir", "%DIR%", "--persons", "abc"}
        << "bad number for --persons: 'abc' (a whole number from 0 to 32767)";
    QTest::newRow("courses beyond the list limit")
        << QStringList{"sample", "--dir", "%DIR%", "--courses", "32768"}
        << "bad number for --courses: '32768'";
    QTest::newRow("negative records") << QStringList{"sample", "--dir", "%DIR%", "--records", "-1"}
                                      << "bad number for --records: '-1'";
    QTest::newRow("fractional seed") << QStringList{"sample", "--dir", "%DIR%", "--seed", "1.5"}
                                     << "bad number for --seed: '1.5'";
    QTest::newRow("records without persons")
        << QStringList{"sample", "--dir", "%DIR%", "--persons", "0"}
        << "training records need at least one person and one course";
}

void SampleUsageTest::usageErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const QString folder = Folder(QStringLiteral("usage-") + QTest::currentDataTag());
    QVERIFY(tooltest::WriteFile(dir_.filePath("ToolTestMarker"), "not a folder"));
    args.replaceInStrings(QStringLiteral("%DIR%"), folder);

    const tooltest::ToolRun run = RunTool(args);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(run.code, 2);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList()); // nothing written
}

void SampleUsageTest::help() {
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"dump", "--help"},
                                    QStringList{"sample", "--dir", "x", "-h"}}) {
        const tooltest::ToolRun run = RunTool(args);
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        QVERIFY(run.out.startsWith(QStringLiteral("Usage: mirtavel-data COMMAND")));
        QVERIFY(run.out.contains(QStringLiteral("Prints OK when it finds nothing")));
    }
}

int RunSampleUsageTests(int argc, char* argv[]) {
    SampleUsageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SampleUsageTest.moc"
