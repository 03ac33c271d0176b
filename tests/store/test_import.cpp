// Imports from a spreadsheet: columns matched by their headings, every reason a row is turned
// down, an import that credits nothing twice, a class imported exactly as the credit window
// credits it, and a roster whose persons all get identities of their own.

#include "DataFolder.h"

#include "store/Clock.h"
#include "store/Csv.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/PersonImport.h"
#include "store/PersonTraining.h"
#include "store/RecordFile.h"
#include "store/TrainingImport.h"
#include "training/Credit.h"

#include <QSet>
#include <QtTest>

using namespace store;
using namespace store::csvimport;

namespace {

const QDate kToday(2024, 3, 15);

double Stamp(int second) {
    return formats::DateValue(QDate(2014, 3, 7), QTime(8, 0).addSecs(second));
}

QByteArray Person(int second, const QString& last, const QString& first, const QString& middle = {},
                  const QString& employeeId = {}) {
    PersonRecord p;
    p.DateCreated = Stamp(second);
    p.LastName = last;
    p.FirstName = first;
    p.MiddleName = middle;
    p.EmployeeID = employeeId;
    return p.Encode();
}

QByteArray Course(int second, const QString& code, float hours) {
    CourseRecord c;
    c.DateCreated = Stamp(second);
    c.CourseCode = code;
    c.CourseName = QStringLiteral("Course ") + code;
    c.ProvidedBy = QStringLiteral("Academy");
    c.Hours = hours;
    return c.Encode();
}

csv::Table TableOf(const QByteArray& text) {
    csv::Table table;
    if (!csv::Parse(text, QStringLiteral("import.csv"), table))
        qWarning("the test's CSV does not parse");
    return table;
}

QList<Reason> ReasonsOf(const std::vector<RowVerdict>& rows) {
    QList<Reason> reasons;
    for (const RowVerdict& row : rows)
        reasons << row.reason;
    return reasons;
}

const QByteArray kTrainingHeading =
    "Last Name,First Name,Middle Name,Course Code,Date,Hours,Comments,Person Identity\n";

// Persons: Ann Marie Lee, two John Smiths (middle names A and B), Bob Ray; courses: FIR-01
// (8 hours), a heading, DUP twice, EVOC (2.5 hours); Ann Lee has FIR-01 on 06/15/2023.
void WriteTrainingFixture() {
    QVERIFY(WriteBytes(QStringLiteral("Name.List"),
                       Person(1, "Lee", "Ann", "Marie") + Person(2, "Smith", "John", "A") +
                           Person(3, "Smith", "John", "B") + Person(4, "Ray", "Bob")));
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"),
                       Course(101, "FIR-01", 8) + Course(102, "HDG", 0) + Course(103, "DUP", 4) +
                           Course(104, "dup", 4) + Course(105, "EVOC", 2.5f)));
    CourseRecord fir = CourseRecord::Decode(Course(101, "FIR-01", 8).constData());
    QVERIFY(WriteBytes(
        QStringLiteral("Training.Records"),
        CreditedRecord(fir, Stamp(1), formats::DateValue(QDate(2023, 6, 15)), {}).Encode()));
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT

private slots:
    void columnsMatchedByHeading_data();
    void columnsMatchedByHeading();
    void trainingRowsJudged();
    void secondImportAddsNothing();
    void classImportedAsCredited();
    void personRowsJudged();
    void rosterPersonsGetIdentitiesOfTheirOwn();
    void failedAppendLeavesTheFileAsItWas_data();
    void failedAppendLeavesTheFileAsItWas();
};

void TestImport::columnsMatchedByHeading_data() {
    QTest::addColumn<QStringList>("heading");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("columns"); // per field of FieldsOf(kind)
    QTest::addColumn<QStringList>("missing");
    // Training: Identity, Last, First, Middle, Code, Date, Hours, Comments.
    QTest::newRow("names as typed")
        << QStringList{"Last Name", "First Name", "Middle Name", "Course Code",
                       "Date",      "Hours",      "Comments",    "Person Identity"}
        << int(Kind::Training) << QList<int>{7, 0, 1, 2, 3, 4, 5, 6} << QStringList{};
    QTest::newRow("other spellings, case and blanks")
        << QStringList{" LASTNAME", "first", "code", "Training Date", "Notes", "Surname"}
        << int(Kind::Training) << QList<int>{-1, 0, 1, -1, 2, 3, -1, 4} << QStringList{};
    QTest::newRow("identity alone names the person")
        << QStringList{"Identity", "Course", "date"} << int(Kind::Training)
        << QList<int>{0, -1, -1, -1, 1, 2, -1, -1} << QStringList{};
    QTest::newRow("what is missing")
        << QStringList{"Last Name", "Hours", "Unknown"} << int(Kind::Training)
        << QList<int>{-1, 0, -1, -1, -1, -1, 1, -1}
        << QStringList{"First Name", "Course Code", "Date"};
    // Persons: Last, First, Middle, Organization, Employee ID, Comments, Active.
    QTest::newRow("roster") << QStringList{"* Last Name", "* First Name", "Employee_ID",
                                           "Agency",      "Active",       "Code"}
                            << int(Kind::Persons) << QList<int>{0, 1, -1, 3, 2, -1, 4}
                            << QStringList{};
}

void TestImport::columnsMatchedByHeading() {
    QFETCH(QStringList, heading);
    QFETCH(int, kind);
    QFETCH(QList<int>, columns);
    QFETCH(QStringList, missing);
    const ColumnMap map = MatchColumns(heading, Kind(kind));
    QList<int> matched;
    for (Field field : FieldsOf(Kind(kind)))
        matched << map.Column(field);
    QCOMPARE(matched, columns);
    QCOMPARE(MissingFields(map, Kind(kind)), missing);

    // The user moves a column to another field: it feeds that one alone.
    ColumnMap changed = map;
    const Field first = FieldsOf(Kind(kind)).front();
    const Field last = FieldsOf(Kind(kind)).back();
    changed.Set(last, 0);
    QCOMPARE(changed.Column(last), 0);
    if (first != last && map.Column(first) == 0)
        QCOMPARE(changed.Column(first), -1);
}

void TestImport::trainingRowsJudged() {
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteTrainingFixture();
    QByteArray bob; // Bob Ray's identity as an export writes it
    csv::AppendNumber(bob, Stamp(4));
    const struct {
        QByteArray row;
        Reason reason;
    } rows[] = {
        {"Lee,Ann,,FIR-01,06/16/2023,,  fine  ,", Reason::None},
        {"smith,JOHN,B.,evoc,2023-06-16,1.25,,", Reason::None}, // the initial tells them apart
        {",,,EVOC,06/16/2023,,," + bob, Reason::None},
        {"Lee,Ann", Reason::Ragged},
        {"Doe,Jane,,FIR-01,06/16/2023,,,", Reason::UnknownPerson},
        {",,,FIR-01,06/16/2023,,,12345.5", Reason::UnknownPerson},
        {"Smith,John,,FIR-01,06/16/2023,,,", Reason::AmbiguousPerson},
        {"Lee,Ann,,NOPE,06/16/2023,,,", Reason::UnknownCourse},
        {"Lee,Ann,,DUP,06/16/2023,,,", Reason::AmbiguousCourse},
        {"Lee,Ann,,HDG,06/16/2023,,,", Reason::CategoryHeading},
        {"Lee,Ann,,EVOC,13/45/2023,,,", Reason::BadDate},
        {"Lee,Ann,,EVOC,6/15,,,", Reason::BadDate}, // no year
        {"Lee,Ann,,EVOC,06/15/1950,,,", Reason::ImplausibleDate},
        {"Lee,Ann,,EVOC,06/16/2023,eight,,", Reason::BadHours},
        {"Lee,Ann,,EVOC,06/16/2023,0,,", Reason::BadHours},
        {"Lee,Ann,,EVOC,06/16/2023,,snow \xE2\x98\x83,", Reason::Unstorable},
        {"Lee,Ann,,EVOC,06/16/2023,," + QByteArray(185, 'x') + ",", Reason::TooLong},
        {"Lee,Ann,Marie,FIR-01,6/15/2023,,,", Reason::OnFile},
        {"LEE,Ann,,fir-01,06/16/2023,4,,", Reason::EarlierInFile},
    };
    QByteArray text = kTrainingHeading;
    QList<Reason> expected;
    for (const auto& r : rows) {
        text += r.row + "\n";
        expected << r.reason;
    }
    const csv::Table table = TableOf(text);
    TrainingImport plan;
    const StoreResult planned = PlanTrainingImport(
        table, MatchColumns(table.records.front().fields, Kind::Training), kToday, plan);
    QVERIFY2(planned, qPrintable(planned.text()));
    QCOMPARE(ReasonsOf(plan.rows), expected);
    QCOMPARE(plan.rows.front().text, QStringLiteral("will be credited"));
    QCOMPARE(plan.rows.back().text,
             QStringLiteral("the same person, course and date also on line 2 of this file"));
    QCOMPARE(AcceptedCount(plan.rows), 3);

    // Hours are the course's unless the row gives some; the comments are trimmed.
    QCOMPARE(int(plan.records.size()), 3);
    QCOMPARE(plan.records[0].Hours, 8.0f);
    QCOMPARE(plan.records[0].Comments, QStringLiteral("fine"));
    QCOMPARE(plan.records[1].Hours, 1.25f);
    QCOMPARE(plan.records[1].PersonKey, Stamp(3));
    QCOMPARE(plan.records[1].CourseCode, QStringLiteral("EVOC"));
    QCOMPARE(plan.records[2].PersonKey, Stamp(4));
    QCOMPARE(plan.records[2].Hours, 2.5f);

    // The rejected rows, to mend: as read, with their reasons after them.
    QVERIFY(WriteRejectedRows(QStringLiteral("rejected.csv"), table, plan.rows));
    csv::Table rejected;
    QVERIFY(csv::ReadFile(QStringLiteral("rejected.csv"), rejected));
    QCOMPARE(int(rejected.records.size()), 1 + int(std::size(rows)) - 3);
    QCOMPARE(rejected.records.front().fields.constLast(), QStringLiteral("Reason"));
    QCOMPARE(rejected.records[1].fields,
             QStringList({"Lee", "Ann", "2 fields where the heading has 8"}));
}

void TestImport::secondImportAddsNothing() {
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteTrainingFixture();
    const csv::Table table = TableOf(kTrainingHeading + "Ray,Bob,,FIR-01,03/01/2024,,,\n"
                                                        "Lee,Ann,,EVOC,03/01/2024,,,\n");
    const ColumnMap map = MatchColumns(table.records.front().fields, Kind::Training);
    TrainingImport plan;
    QVERIFY(PlanTrainingImport(table, map, kToday, plan));
    QCOMPARE(AcceptedCount(plan.rows), 2);
    qint32 first = 0;
    QVERIFY(AppendTrainingImport(plan, &first));
    QCOMPARE(first, 2);
    const QByteArray once = ReadBytes(QStringLiteral("Training.Records"));
    QCOMPARE(once.size(), 3 * TrainingRecord::Length);

    QVERIFY(PlanTrainingImport(table, map, kToday, plan));
    QCOMPARE(ReasonsOf(plan.rows), (QList<Reason>{Reason::OnFile, Reason::OnFile}));
    QVERIFY(AppendTrainingImport(plan));
    QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), once);
}

void TestImport::classImportedAsCredited() {
    // 300 recruits take one course on one day: once through the credit, once from a sheet.
    QByteArray persons;
    QByteArray sheet = kTrainingHeading;
    QList<qint32> recNums;
    for (int i = 1; i <= 300; ++i) {
        persons += Person(i, QStringLiteral("Last%1").arg(i), QStringLiteral("First%1").arg(i));
        sheet +=
            QStringLiteral("Last%1,First%1,,EVOC,06/15/2023,,  range day  ,\r\n").arg(i).toLatin1();
        recNums << i;
    }
    const QByteArray courses = Course(101, "FIR-01", 8) + Course(105, "EVOC", 2.5f);
    QByteArray credited;
    {
        DataFolder folder;
        QVERIFY(folder.ready());
        QVERIFY(WriteBytes(QStringLiteral("Name.List"), persons));
        QVERIFY(WriteBytes(QStringLiteral("Course.Index"), courses));
        QVERIFY(training::CreditCourse(2, recNums, formats::DateValue(QDate(2023, 6, 15)),
                                       QStringLiteral("  range day  ")));
        credited = ReadBytes(QStringLiteral("Training.Records"));
    }
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), persons));
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), courses));
    const csv::Table table = TableOf(sheet);
    TrainingImport plan;
    QVERIFY(PlanTrainingImport(table, MatchColumns(table.records.front().fields, Kind::Training),
                               kToday, plan));
    QCOMPARE(AcceptedCount(plan.rows), 300);
    QVERIFY(AppendTrainingImport(plan));
    QCOMPARE(credited.size(), 300 * TrainingRecord::Length);
    QVERIFY(ReadBytes(QStringLiteral("Training.Records")) == credited);
}

void TestImport::personRowsJudged() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Person(1, "Lee", "Ann", {}, "PD1")));
    const struct {
        QByteArray row;
        Reason reason;
    } rows[] = {
        {"Ray,Bob,,Patrol,PD9,,yes", Reason::None},
        {"Day,Al,Q,,,\"two\nlines\",No", Reason::None},
        {",Bob,,,,,", Reason::MissingLastName},
        {"Ray,,,,,,", Reason::MissingFirstName},
        {"Ray,$Killed$,,,,,", Reason::MarkerName},
        {"Averyveryverylongname,Bo,,,,,", Reason::TooLong},
        {"Ray,Sn\xE2\x98\x83w,,,,,", Reason::Unstorable},
        {"Ray,Tim,,,,,maybe", Reason::BadActive},
        {"Kay,Sue,,,pd1,,", Reason::IdOnFile},
        {"Kay,Sue,,,PD9,,", Reason::IdEarlierInFile},
        {"LEE,ann,,,,,", Reason::NameOnFile},
        {"Ray, Bob ,,,,,", Reason::NameEarlierInFile},
    };
    QByteArray text = "Last Name,First Name,Middle Name,Organization,Employee ID,Comments,Active\n";
    QList<Reason> expected;
    for (const auto& r : rows) {
        text += r.row + "\n";
        expected << r.reason;
    }
    const csv::Table table = TableOf(text);
    PersonImport plan;
    QVERIFY(
        PlanPersonImport(table, MatchColumns(table.records.front().fields, Kind::Persons), plan));
    QCOMPARE(ReasonsOf(plan.rows), expected);
    QCOMPARE(plan.rows.front().text, QStringLiteral("will be added"));
    QCOMPARE(int(plan.persons.size()), 2);
    QCOMPARE(plan.persons[0].Organization, QStringLiteral("Patrol"));
    QCOMPARE(plan.persons[0].Active, qint16(-1));
    QCOMPARE(plan.persons[1].Comments, QStringLiteral("two\r\nlines"));
    QCOMPARE(plan.persons[1].Active, qint16(0));
}

void TestImport::rosterPersonsGetIdentitiesOfTheirOwn() {
    DataFolder folder;
    QVERIFY(folder.ready());
    // The clock stands at second 0; a person on file already has second 3.
    store::SetClock([] { return QDateTime(QDate(2014, 3, 7), QTime(8, 0)); });
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Person(3, "Lee", "Ann")));
    QByteArray text = "Last Name,First Name\n";
    for (int i = 1; i <= 30; ++i)
        text += QStringLiteral("Recruit%1,Pat\n").arg(i).toLatin1();
    PersonImport plan;
    const csv::Table table = TableOf(text);
    QVERIFY(
        PlanPersonImport(table, MatchColumns(table.records.front().fields, Kind::Persons), plan));
    qint32 first = 0;
    const StoreResult appended = AppendPersonImport(plan, &first);
    store::SetClock({});
    QVERIFY2(appended, qPrintable(appended.text()));
    QCOMPARE(first, 2);

    const QByteArray bytes = ReadBytes(QStringLiteral("Name.List"));
    QCOMPARE(bytes.size(), 31 * PersonRecord::Length);
    QSet<qint64> seconds;
    for (int n = 0; n < 31; ++n) {
        const PersonRecord p = PersonRecord::Decode(bytes.constData() + n * PersonRecord::Length);
        seconds.insert(*KeySecond(p.DateCreated));
        if (n > 0) {
            QCOMPARE(p.LastName, QStringLiteral("Recruit%1").arg(n));
            QCOMPARE(p.DateCreated, plan.persons[std::size_t(n - 1)].DateCreated);
        }
    }
    QCOMPARE(seconds.size(), 31);
    // Whole seconds from the clock on, the one taken left out: 0 to 2, then 4 to 30.
    QCOMPARE(plan.persons.front().DateCreated, Stamp(0));
    QCOMPARE(plan.persons[3].DateCreated, Stamp(4));
    QCOMPARE(plan.persons.back().DateCreated, Stamp(30));
}

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"

void TestImport::failedAppendLeavesTheFileAsItWas_data() {
    QTest::addColumn<bool>("persons"); // a roster, or training records
    QTest::addColumn<qint64>("taken"); // bytes the disk takes before it is full
    QTest::newRow("training, nothing taken") << false << qint64(0);
    QTest::newRow("training, one and a half records") << false << qint64(450);
    QTest::newRow("roster, nothing taken") << true << qint64(0);
    QTest::newRow("roster, one and a half persons") << true << qint64(1500);
}

void TestImport::failedAppendLeavesTheFileAsItWas() {
    QFETCH(bool, persons);
    QFETCH(qint64, taken);
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteTrainingFixture();
    const QString target =
        persons ? QStringLiteral("Name.List") : QStringLiteral("Training.Records");
    const csv::Table table = persons ? TableOf("Last Name,First Name\nDay,Al\nKay,Sue\nMay,Jo\n")
                                     : TableOf(kTrainingHeading + "Ray,Bob,,FIR-01,03/01/2024,,,\n"
                                                                  "Lee,Ann,,EVOC,03/01/2024,,,\n"
                                                                  "Ray,Bob,,EVOC,03/02/2024,,,\n");
    const ColumnMap map =
        MatchColumns(table.records.front().fields, persons ? Kind::Persons : Kind::Training);
    TrainingImport trainingPlan;
    PersonImport personPlan;
    QVERIFY(persons ? PlanPersonImport(table, map, personPlan)
                    : PlanTrainingImport(table, map, kToday, trainingPlan));
    const QByteArray before = ReadBytes(target);

    qint64 left = taken;
    io::testing::SetWriteHook([&](const QString& name, qint64 wanted, int& error) {
        if (name != target)
            return wanted;
        const qint64 allowed = std::min(left, wanted);
        left -= allowed;
        error = allowed == 0 ? ENOSPC : 0;
        return allowed;
    });
    const StoreResult r =
        persons ? AppendPersonImport(personPlan) : AppendTrainingImport(trainingPlan);
    io::testing::SetWriteHook({});
    QVERIFY(!r.ok());
    QVERIFY2(r.text().contains(target) && r.reason() == qt_error_string(ENOSPC),
             qPrintable(r.text()));
    QCOMPARE(ReadBytes(target), before);
    QVERIFY(!QFile::exists(RecordWriteJournal)); // nothing is left to undo at the next start
}
