// Who is due: the latest credit per person and course from one pass over Training.Records,
// renewal at month ends, the window's edges, required courses never taken, inactive persons,
// the filters, and how records are matched to courses.

#include "store/DataFolder.h"

#include "search/WhoIsDue.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/TrainingRules.h"

#include <QtTest>

using namespace search;

namespace {

constexpr double kSecond = 1.0 / 86400.0;

double Stamp(int i) {
    return formats::DateValue(QDate(2005, 3, 1), QTime(12, 0)) + i * 60 * kSecond;
}

// Persons 0 to 2; Cy is inactive.
const std::vector<PersonRow> kPersons = {
    {QStringLiteral("Al Ames"), QStringLiteral("North Precinct"), {}, Stamp(0), 1, true},
    {QStringLiteral("Bo Burr"), QStringLiteral("South Precinct"), {}, Stamp(1), 2, true},
    {QStringLiteral("Cy Cole"), QStringLiteral("north precinct"), {}, Stamp(2), 3, false},
};

// Courses 0 to 2 by their stamps; course 2 has no rule in any case.
struct CourseSpec {
    const char* code;
    const char* name;
};
const CourseSpec kCourses[] = {{"FIR-101", "Firearms"}, {"CPR-1", "First Aid"}, {"ETH", "Ethics"}};
double CourseKey(int course) {
    return Stamp(100 + course);
}

struct Rule {
    int course;
    int months;
    bool required;
};

struct Credit {
    int person;
    int course;
    QDate date;
    double keyShift = 0;        // added to the course's key in the record
    const char* code = nullptr; // the record's copy of the code; the course's when null
};

struct Case {
    const char* name;
    QList<Rule> rules;
    QList<Credit> credits;
    QDate date;
    int window;
    QStringList due; // "person code last due days", "person code never"
    const char* organization = "";
    const char* course = "";
};

const QDate kToday(2026, 3, 15);

const Case kCases[] = {
    {"12 months from the month's last day",
     {{0, 12, false}},
     {{0, 0, QDate(2025, 1, 31)}},
     QDate(2026, 1, 1),
     60,
     {"Al FIR-101 01/31/2025 01/31/2026 30"}},
    {"one month from 31 January: the end of February",
     {{0, 1, false}},
     {{0, 0, QDate(2025, 1, 31)}},
     QDate(2025, 2, 1),
     60,
     {"Al FIR-101 01/31/2025 02/28/2025 27"}},
    {"credited twice: the later counts, whatever the file order",
     {{0, 12, false}},
     {{0, 0, QDate(2025, 4, 1)},
      {0, 0, QDate(2024, 4, 1)},
      {1, 0, QDate(2024, 4, 1)},
      {1, 0, QDate(2025, 5, 20)}},
     kToday,
     60,
     {"Al FIR-101 04/01/2025 04/01/2026 17"}},
    {"the period now, not the one credited under",
     {{0, 36, false}},
     {{0, 0, QDate(2024, 1, 1)}},
     kToday,
     60,
     {}},
    {"the window's edges: its last day, past it, expired yesterday",
     {{0, 12, false}},
     {{0, 0, QDate(2025, 5, 14)}, {1, 0, QDate(2025, 5, 15)}, {2, 0, QDate(2025, 3, 14)}},
     kToday,
     60,
     {"Cy FIR-101 03/14/2025 03/14/2026 -1", "Al FIR-101 05/14/2025 05/14/2026 60"}},
    {"window 0: due today and before",
     {{0, 12, false}},
     {{0, 0, QDate(2025, 3, 15)}, {1, 0, QDate(2025, 3, 16)}},
     kToday,
     0,
     {"Al FIR-101 03/15/2025 03/15/2026 0"}},
    {"required: active persons never credited, first",
     {{0, 12, true}, {1, 0, true}},
     {{0, 0, QDate(2024, 1, 10)}, {0, 1, QDate(2001, 1, 1)}},
     kToday,
     60,
     {"Bo CPR-1 never", "Bo FIR-101 never", "Al FIR-101 01/10/2024 01/10/2025 -429"}},
    {"renewable, not required: never credited is not due", {{0, 12, false}}, {}, kToday, 60, {}},
    {"no rules: nobody is due", {}, {{0, 0, QDate(2001, 1, 1)}}, kToday, 60, {}},
    {"a course by its identity: copies renamed, keys equal to 15 digits",
     {{0, 12, false}},
     {{0, 0, QDate(2024, 1, 1), 0, "OLD-1"},
      {1, 0, QDate(2024, 1, 1), 1e-12},
      {2, 0, QDate(2024, 1, 1), kSecond},
      {2, 2, QDate(2024, 1, 1), 0, "FIR-101"}},
     kToday,
     60,
     {"Al FIR-101 01/01/2024 01/01/2025 -438", "Bo FIR-101 01/01/2024 01/01/2025 -438"}},
    {"a record marked for removal credits nothing",
     {{0, 12, false}},
     {{0, 0, QDate(2024, 1, 1)}, {0, 0, QDate(2026, 1, 1), 0, "$Killed$"}},
     kToday,
     60,
     {"Al FIR-101 01/01/2024 01/01/2025 -438"}},
    {"organization and course filters: any case, anywhere",
     {{0, 12, true}, {1, 12, true}},
     {},
     kToday,
     60,
     {"Al CPR-1 never"},
     "NORTH",
     "aid"},
};

QString Line(const DueRow& row, const LatestCredits& credits) {
    const QString person = kPersons[row.person].name.section(u' ', 0, 0);
    const QString code = credits.courses[std::size_t(row.course)].code;
    if (row.NeverTaken())
        return person + u' ' + code + QStringLiteral(" never");
    return QStringList{person, code, row.last.toString(QStringLiteral("MM/dd/yyyy")),
                       row.due.toString(QStringLiteral("MM/dd/yyyy")),
                       QString::number(row.daysLeft)}
        .join(u' ');
}

void WriteData(const Case& c) {
    QList<store::CourseRecord> courses;
    for (int i = 0; i < 3; ++i) {
        store::CourseRecord course;
        course.DateCreated = CourseKey(i);
        course.CourseCode = QString::fromLatin1(kCourses[i].code);
        course.CourseName = QString::fromLatin1(kCourses[i].name);
        course.Hours = 8;
        courses << course;
    }
    QVERIFY(store::Courses().Open());
    for (int i = 0; i < courses.size(); ++i) {
        store::Courses().Buffer() = courses[i];
        QVERIFY(store::Courses().Write(i + 1));
    }
    store::Courses().Close();

    store::TrainingRules rules;
    for (const Rule& r : c.rules)
        rules.SetRule(CourseKey(r.course), {r.months, r.required});
    QVERIFY(store::WriteTrainingRules(rules));

    QByteArray bytes;
    for (const Credit& credit : c.credits) {
        store::TrainingRecord t;
        t.TrainingDate = formats::DateValue(credit.date, QTime(9, 0));
        t.PersonKey = kPersons[credit.person].identity;
        t.CourseKey = CourseKey(credit.course) + credit.keyShift;
        t.CourseCode = credit.code ? QString::fromLatin1(credit.code)
                                   : QString::fromLatin1(kCourses[credit.course].code);
        t.CourseName = QStringLiteral("Course");
        t.Hours = 8;
        bytes += t.Encode();
    }
    if (!bytes.isEmpty())
        QVERIFY(WriteBytes(QStringLiteral("Training.Records"), bytes));
}

std::vector<double> Identities() {
    std::vector<double> keys;
    for (const PersonRow& p : kPersons)
        keys.push_back(p.identity);
    return keys;
}

} // namespace

class TestWhoIsDue : public QObject {
    Q_OBJECT

private slots:
    void dueRows_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kCases)); ++i)
            QTest::newRow(kCases[i].name) << i;
    }
    void dueRows() {
        QFETCH(int, index);
        const Case& c = kCases[index];
        DataFolder folder;
        QVERIFY(folder.ready());
        WriteData(c);
        LatestCredits credits;
        QList<int> told;
        QVERIFY(ReadLatestCredits(Identities(), credits, [&](int p) { told << p; }));
        QCOMPARE(told.value(0), 0);
        QCOMPARE(told.last(), 100);
        DueQuery query{c.date, c.window, QString::fromLatin1(c.organization),
                       QString::fromLatin1(c.course)};
        QStringList lines;
        for (const DueRow& row : WhoIsDue(credits, kPersons, query))
            lines << Line(row, credits);
        QCOMPARE(lines, c.due);
        // The pass created no file it did not find.
        QCOMPARE(QFileInfo::exists(QStringLiteral("Training.Records")), !c.credits.isEmpty());
    }

    // A rules file that is not ours is a failure, named, and lists nobody.
    void unreadableRulesFail() {
        DataFolder folder;
        QVERIFY(WriteBytes(store::TrainingRulesFileName, "something else\n"));
        LatestCredits credits;
        const store::StoreResult read = ReadLatestCredits(Identities(), credits);
        QVERIFY(!read);
        QCOMPARE(read.fileName(), store::TrainingRulesFileName);
        QVERIFY(WhoIsDue(credits, kPersons, {kToday, 60, {}, {}}).empty());
    }
};

QTEST_GUILESS_MAIN(TestWhoIsDue)
#include "test_whoisdue.moc"
