// The one pass over Training.Records for a search and an annual summary: the same answer as
// reading every record once per person, the edge cases of the criteria and the year, exact
// totals, and a file that is missing or cannot be read.

#include "store/DataFolder.h"

#include "search/FieldMatch.h"
#include "search/TrainingSearch.h"
#include "store/Codepage.h"
#include "store/CourseCopies.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "store/TrainingDates.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace search;
using store::TrainingRecord;

Q_DECLARE_METATYPE(search::SummaryChoice)

namespace {

constexpr double kSecond = 1.0 / 86400.0;

double Day(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return formats::DateValue(QDate(y, m, d), QTime(h, n, s));
}

double Person(int i) {
    return Day(2005, 3, 1, 12) + i * 60 * kSecond;
}

struct Rec {
    Rec(double personKey = 0, double taken = 0, float courseHours = 8,
        QString courseCode = QStringLiteral("GEN-1"), QString comments = {})
        : person(personKey), date(taken), hours(courseHours), code(std::move(courseCode)),
          comment(std::move(comments)) {}
    double person;
    double date;
    float hours;
    QString code;
    QString comment;
};

QByteArray Encoded(const Rec& r) {
    TrainingRecord t;
    t.TrainingDate = r.date;
    t.PersonKey = r.person;
    t.CourseKey = Person(900);
    t.CourseCode = r.code;
    t.CourseName = QStringLiteral("Course");
    t.Hours = r.hours;
    t.Comments = r.comment;
    return t.Encode();
}

// `nulPadded`: every n-th record has its comments padded with NULs, as an older program left
// them.
void Write(const QList<Rec>& records, int nulPadded = 0) {
    QByteArray bytes;
    for (const Rec& r : records) {
        QByteArray record = Encoded(r);
        if (nulPadded > 0 && (bytes.size() / TrainingRecord::Length) % nulPadded == 0) {
            for (int at = TrainingRecord::Length - 1; at >= 116 && record[at] == ' '; --at)
                record[at] = '\0';
        }
        bytes += record;
    }
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), bytes));
}

Criteria Dates(const QDate& from, const QDate& to) {
    Criteria c;
    c.fromDay = formats::DayNumberOf(from);
    c.toDay = formats::DayNumberOf(to);
    return c;
}

// ---- The person-by-person loop, written out as the old program ran it -------------------
// For each shown person every record is read and decoded; dates compare as "yyyymmdd"
// numbers, years as "yyyy", texts after trimming, hours as the cells show them.

struct Reference {
    QString from; // "yyyymmdd" or empty
    QString to;
    QString code;
    QString comment;
    bool listMatching = true;
};

std::vector<TrainingRecord> ReadAll() {
    std::vector<TrainingRecord> all;
    const QByteArray bytes = ReadBytes(QStringLiteral("Training.Records"));
    for (qsizetype at = 0; at + TrainingRecord::Length <= bytes.size();
         at += TrainingRecord::Length) {
        TrainingRecord t = TrainingRecord::Decode(bytes.constData() + at);
        t.MakeSafe();
        all.push_back(t);
    }
    return all;
}

std::vector<int> LoopSearch(const std::vector<double>& persons, const Reference& c) {
    const std::vector<TrainingRecord> all = ReadAll();
    std::vector<int> listed;
    for (std::size_t r = 0; r < persons.size(); ++r) {
        bool found = false;
        for (const TrainingRecord& t : all) {
            if (!store::BelongsToPerson(t.PersonKey, persons[r]))
                continue;
            const qint64 d = formats::YyyyMmDd(t.TrainingDate).toLongLong();
            const bool date =
                c.from.isEmpty() || (c.from.toLongLong() <= d && d <= c.to.toLongLong());
            const bool code = c.code.isEmpty() ||
                              store::TrimField(t.CourseCode).contains(c.code, Qt::CaseInsensitive);
            const bool comment =
                c.comment.isEmpty() ||
                store::TrimField(t.Comments).contains(c.comment, Qt::CaseInsensitive);
            if (date && code && comment) {
                found = true;
                break;
            }
        }
        if (found == c.listMatching)
            listed.push_back(int(r));
    }
    return listed;
}

// Persons listed with their hours, and the grand total, as texts: each stored hours value read
// as the decimal its single-precision text names, added in hundred-thousandths.
struct ShownSummary {
    QStringList rows; // "person:hours"
    QString total;
};

ShownSummary LoopSummary(const std::vector<double>& persons, int year) {
    const std::vector<TrainingRecord> all = ReadAll();
    const auto shown = [](qint64 units) { return formats::DoubleText(double(units) / 1e5); };
    ShownSummary s;
    qint64 grand = 0;
    for (std::size_t r = 0; r < persons.size(); ++r) {
        bool listed = false;
        qint64 units = 0;
        for (const TrainingRecord& t : all) {
            if (!store::BelongsToPerson(t.PersonKey, persons[r]) ||
                formats::Yyyy(t.TrainingDate).toInt() != year)
                continue;
            listed = true;
            units += std::llround(formats::LeadingNumber(formats::SingleText(t.Hours)) * 1e5);
        }
        if (listed) {
            s.rows << QStringLiteral("%1:%2").arg(r).arg(shown(units));
            grand += units;
        }
    }
    s.total = shown(grand);
    return s;
}

ShownSummary Shown(const YearSummary& summary) {
    ShownSummary s;
    for (const YearTotal& row : summary.rows)
        s.rows << QStringLiteral("%1:%2").arg(row.person).arg(row.hours.Text());
    s.total = summary.total.Text();
    return s;
}

template <class T> T Pick(QRandomGenerator& random, const QList<T>& from) {
    return from[random.bounded(int(from.size()))];
}

// Every year's summary and a search for each year, both ways, against the plain full pass.
void AgreesWithFullPass(const std::vector<double>& persons, const char* stage) {
    for (int year = 2014; year <= 2026; ++year) {
        YearSummary summary;
        QVERIFY2(SumYear(persons, year, summary), stage);
        const ShownSummary expected = LoopSummary(persons, year);
        QVERIFY2(Shown(summary).rows == expected.rows, stage);
        QVERIFY2(Shown(summary).total == expected.total, stage);
        for (const bool matching : {true, false}) {
            Criteria c = Dates(QDate(year, 1, 1), QDate(year, 12, 31));
            c.listMatching = matching;
            const QString y = QString::number(year);
            Reference ref{y + "0101", y + "1231", {}, {}, matching};
            std::vector<int> listed;
            QVERIFY2(FindPersons(persons, c, listed), stage);
            QVERIFY2(listed == LoopSearch(persons, ref), stage);
        }
    }
    // Comments, looked at only up to where each block's comments end once that is known.
    for (const char* text : {"range", "gap", "tail", "zebra", "appended"}) {
        for (const bool matching : {true, false}) {
            Criteria c;
            c.comment = text;
            c.listMatching = matching;
            std::vector<int> listed;
            QVERIFY2(FindPersons(persons, c, listed), stage);
            QVERIFY2(listed == LoopSearch(persons, {{}, {}, {}, text, matching}), stage);
        }
    }
}

TrainingRecord StoredRecord(qint32 recNum) {
    const QByteArray bytes = ReadBytes(QStringLiteral("Training.Records"));
    return TrainingRecord::Decode(bytes.constData() + qint64(recNum - 1) * TrainingRecord::Length);
}

// Writes a date and a person into record `recNum` as another program would, in place.
void ChangeOutside(qint32 recNum, double date, double person) {
    QFile file(QStringLiteral("Training.Records"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(qint64(recNum - 1) * TrainingRecord::Length));
    QVERIFY(file.write(reinterpret_cast<const char*>(&date), 8) == 8);
    QVERIFY(file.write(reinterpret_cast<const char*>(&person), 8) == 8);
}

} // namespace

class TestSearchPass : public QObject {
    Q_OBJECT

private slots:
    void sameAnswerAsThePersonByPersonLoop();
    void blockSkippingAnswersAsAFullPass();
    void unstorableCriteria_data();
    void unstorableCriteria();
    void searchCriteria_data();
    void searchCriteria();
    void annualTotals_data();
    void annualTotals();
    void exactTotalsOfManyRecords();
    void summaryChoices_data();
    void summaryChoices();
    void textFoundAtEveryPlaceOfAField();
    void missingFileHoldsNoRecords();
    void unreadableFileIsToldByName();
    void progressRunsFromZeroToHundred();
};

// Random files: persons with and without records, keys a fraction of a second off, records
// of persons not shown, dates at the ends of years, codes and comments in mixed case.
void TestSearchPass::sameAnswerAsThePersonByPersonLoop() {
    QRandomGenerator random(20260);
    const QList<QString> codes = {"FIR-101", "fir-202", "Fi",  "CPR",      "cpr-1",
                                  "ÉTÉ-1",   "  FIRE",  "TAC", "tac-fi-9", ""};
    const QList<QString> comments = {"",         "Range day", "RANGE",         "ranger",
                                     "Été prep", "day two",   "rAnGe at dawn", "x  range  y"};
    const QList<float> hours = {8, 4.5f, 1.2f, 2.4f, 0.35f, 12.25f, 0, 16};
    const QList<QString> codeSought = {"", "fi", "FIR", "cpr", "été", "-1", "t", "ZZ"};
    const QList<QString> commentSought = {"", "range", "DAY", "été", "ge d", "q"};

    for (int file = 0; file < 6; ++file) {
        DataFolder folder;
        QVERIFY(folder.ready());
        // 30 persons; 26 and 27 share one second, as files saved elsewhere may.
        std::vector<double> persons;
        for (int i = 1; i <= 30; ++i)
            persons.push_back(Person(i));
        persons[26] = persons[25] + 0.3 * kSecond;
        QList<Rec> records;
        const int count = 200 + random.bounded(400);
        for (int n = 0; n < count; ++n) {
            Rec r;
            // Persons 1 to 24 have records, now and then one of nobody shown.
            const int who = random.bounded(28);
            r.person = who < 24 ? persons[std::size_t(who)] : Person(40 + who);
            if (random.bounded(3) == 0)
                r.person += (random.bounded(980) - 490) / 1000.0 * kSecond;
            const int year = 2023 + random.bounded(4);
            // Half of them crowd around the turn of the year, where short ranges find them.
            const QDate date = random.bounded(2) ? QDate(year, 12, 22).addDays(random.bounded(20))
                                                 : QDate(year, 1, 1).addDays(random.bounded(365));
            r.date = random.bounded(4) == 0
                         ? Day(year, 12, 31, 23, 59, 59) + random.bounded(2) * 0.4 * kSecond
                         : formats::DateValue(date, QTime(random.bounded(24), 0));
            r.hours = Pick(random, hours);
            r.code = Pick(random, codes);
            r.comment = Pick(random, comments);
            records << r;
        }
        Write(records, 3);

        for (int round = 0; round < 40; ++round) {
            Reference ref;
            Criteria c;
            if (random.bounded(2)) {
                const QDate from =
                    random.bounded(2)
                        ? QDate(2022 + random.bounded(5), 12, 22).addDays(random.bounded(20))
                        : QDate(2023, 1, 1).addDays(random.bounded(1400));
                const QDate to =
                    from.addDays(random.bounded(2) ? random.bounded(3) : random.bounded(200));
                ref.from = from.toString(QStringLiteral("yyyyMMdd"));
                ref.to = to.toString(QStringLiteral("yyyyMMdd"));
                c = Dates(from, to);
            }
            ref.code = c.code = Pick(random, codeSought);
            ref.comment = c.comment = Pick(random, commentSought);
            ref.listMatching = c.listMatching = random.bounded(2) == 0;
            std::vector<int> listed;
            QVERIFY(FindPersons(persons, c, listed));
            QCOMPARE(listed, LoopSearch(persons, ref));
        }
        for (int year = 2022; year <= 2027; ++year) {
            YearSummary summary;
            QVERIFY(SumYear(persons, year, summary));
            const ShownSummary expected = LoopSummary(persons, year);
            QCOMPARE(Shown(summary).rows, expected.rows);
            QCOMPARE(Shown(summary).total, expected.total);
        }
    }
}

// Files of fourteen blocks of records and more, in every order the dates come in, changed by
// the program and by others: reading only the blocks that can hold a date in range gives the
// answers of reading every record. One person has no records but those the changes give.
void TestSearchPass::blockSkippingAnswersAsAFullPass() {
    enum Kind { DateOrder, RandomOrder, BackDatedBulk, OddDates };
    QRandomGenerator random(8111);
    for (int kind = DateOrder; kind <= OddDates; ++kind) {
        DataFolder folder;
        QVERIFY(folder.ready());
        std::vector<double> persons;
        for (int i = 1; i <= 12; ++i)
            persons.push_back(Person(i));
        const double lonely = persons.back();
        const int count = 3000;
        QList<Rec> records;
        for (int n = 0; n < count; ++n) {
            const int day = kind == RandomOrder ? random.bounded(3650) : n * 3650 / count;
            // Comments short and long, one with a gap of blanks inside.
            records << Rec{persons[std::size_t(random.bounded(11))], Day(2015, 1, 1) + day,
                           Pick(random, QList<float>{8, 1.5f, 0.25f, 1.2f}),
                           QStringLiteral("GEN-1"),
                           Pick(random, QList<QString>{"", "", "Range day", "Night session",
                                                       QString(60, u'x') + " tail",
                                                       "a" + QString(20, u' ') + "gap"})};
        }
        if (kind == BackDatedBulk) {
            for (int bulk = 0; bulk < 5; ++bulk) {
                const int at = random.bounded(count - 50);
                for (int n = at; n < at + 50; ++n)
                    records[n].date = Day(2015, 3, 1) + bulk;
            }
        }
        if (kind == OddDates) {
            const QList<double> odd = {std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(), 1e300, -1e7,
                                       2958466.0};
            for (int n = 0; n < 40; ++n)
                records[random.bounded(count)].date = Pick(random, odd);
        }
        Write(records);

        AgreesWithFullPass(persons, "as written");
        QCOMPARE(store::TrainingDateSummary().Summarised(), count);
        QVERIFY(store::TrainingDateSummary().CommentsEnd(count / store::kTrainingBlock));
        AgreesWithFullPass(persons, "with the summary");

        // Comments longer than any before, where the file's blocks ends were learnt.
        TrainingRecord added = TrainingRecord::Decode(
            Encoded({lonely, Day(2016, 6, 1), 3, "GEN-1", QString(150, u'q') + " appended"}));
        QVERIFY(store::AppendTrainingRecords({added}));
        AgreesWithFullPass(persons, "after an append");

        QVERIFY(store::ChangeTrainingRecord(5, StoredRecord(5).PersonKey, [&](TrainingRecord& t) {
            t.TrainingDate = Day(2024, 3, 3);
            t.PersonKey = lonely;
            t.Comments = QString(130, u'y') + " zebra";
        }));
        AgreesWithFullPass(persons, "after an edit in place");

        QVERIFY(store::RemovePersonsTrainingRecord(3, StoredRecord(3).PersonKey));
        AgreesWithFullPass(persons, "after a removal");

        store::CourseRecord course;
        course.DateCreated = Person(900);
        course.CourseCode = QStringLiteral("NEW");
        course.Hours = 2.5f;
        store::CourseCopyTally tally;
        QVERIFY(store::UpdateCourseCopies(course, tally));
        QCOMPARE(tally.updated, count - 1 + 1);
        AgreesWithFullPass(persons, "after a course update");

        ChangeOutside(1500, Day(2023, 7, 7), lonely);
        AgreesWithFullPass(persons, "after a change in place by another program");
        QByteArray more = Encoded({lonely, Day(2015, 2, 2), 1});
        QFile file(QStringLiteral("Training.Records"));
        QVERIFY(file.open(QIODevice::Append) && file.write(more) == more.size());
        file.close();
        AgreesWithFullPass(persons, "after an append by another program");
    }
}

void TestSearchPass::unstorableCriteria_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("unstorable");
    QTest::newRow("on the code page") << "fi" << QStringLiteral("Été range") << "";
    QTest::newRow("Greek") << "" << QStringLiteral("Ωmega") << QStringLiteral("Ω");
    QTest::newRow("once each, in order")
        << QStringLiteral("日本") << QStringLiteral("x日本Ω") << QStringLiteral("日本Ω");
    QTest::newRow("beyond 16 bits") << "" << QStringLiteral("a𝔸b") << QStringLiteral("𝔸");
    // The Kelvin sign is no character of the page, but ignoring case it is k, which is.
    QTest::newRow("folds onto the page") << QStringLiteral("\u212A9") << ""
                                         << "";
}

void TestSearchPass::unstorableCriteria() {
    QFETCH(QString, code);
    QFETCH(QString, comment);
    QFETCH(QString, unstorable);
    Criteria c;
    c.code = code;
    c.comment = comment;
    QCOMPARE(UnstorableCharacters(c), unstorable);
    // The check and the search agree: a code the files can hold in some case is found.
    if (code.startsWith(QChar(0x212A)))
        QVERIFY(FieldMatch(code).FoundIn("xk9     ", 8));
}

void TestSearchPass::searchCriteria_data() {
    QTest::addColumn<QList<Rec>>("records");
    QTest::addColumn<Criteria>("criteria");
    QTest::addColumn<std::vector<int>>("listed");

    const double a = Person(1), b = Person(2), c = Person(3);
    Criteria oneDay = Dates(QDate(2025, 1, 1), QDate(2025, 1, 1));
    QTest::newRow("one day, any time of it") << QList<Rec>{{a, Day(2024, 12, 31, 23, 59, 59)},
                                                           {b, Day(2025, 1, 1, 23, 59, 59)},
                                                           {c, Day(2025, 1, 2)}}
                                             << oneDay << std::vector<int>{1};
    Criteria fi;
    fi.code = QStringLiteral("fi");
    QTest::newRow("code fi in any case") << QList<Rec>{{a, Day(2025, 1, 1), 8, "FIR-101"},
                                                       {b, Day(2025, 1, 1), 8, "CPR-1"},
                                                       {c, Day(2025, 1, 1), 8, "xfI"}}
                                         << fi << std::vector<int>{0, 2};
    Criteria notRange;
    notRange.comment = QStringLiteral("range");
    notRange.listMatching = false;
    QTest::newRow("do NOT match: also persons without records")
        << QList<Rec>{{a, Day(2025, 1, 1), 8, "X", "Range day"},
                      {a, Day(2025, 2, 1)},
                      {b, Day(2025, 1, 1), 8, "X", "classroom"}}
        << notRange << std::vector<int>{1, 2};
    Criteria both = Dates(QDate(2025, 1, 1), QDate(2025, 12, 31));
    both.code = QStringLiteral("FIR");
    QTest::newRow("two criteria on one record") << QList<Rec>{{a, Day(2025, 3, 1), 8, "CPR"},
                                                              {a, Day(2024, 3, 1), 8, "FIR-1"},
                                                              {b, Day(2025, 3, 1), 8, "FIR-2"}}
                                                << both << std::vector<int>{1};
    QTest::newRow("nobody") << QList<Rec>{{a, Day(2025, 3, 1), 8, "CPR"}} << fi
                            << std::vector<int>{};
}

void TestSearchPass::searchCriteria() {
    QFETCH(QList<Rec>, records);
    QFETCH(Criteria, criteria);
    QFETCH(std::vector<int>, listed);
    DataFolder folder;
    QVERIFY(folder.ready());
    Write(records);
    std::vector<int> found;
    QVERIFY(FindPersons(std::vector<double>{Person(1), Person(2), Person(3)}, criteria, found));
    QCOMPARE(found, listed);
}

void TestSearchPass::annualTotals_data() {
    QTest::addColumn<QList<Rec>>("records");
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("totals"); // person number: hours
    QTest::addColumn<QString>("grandTotal");

    const double a = Person(1), b = Person(2);
    const QList<Rec> mixed = {{a, Day(2025, 2, 1), 8},
                              {a, Day(2025, 6, 1), 4.5f},
                              {a, Day(2024, 6, 1), 16},
                              {b, Day(2024, 1, 1), 3}};
    QTest::newRow("8 + 4.5 in 2025") << mixed << 2025 << QStringList{"0:12.5"} << "12.5";
    QTest::newRow("2024") << mixed << 2024 << QStringList{"0:16", "1:3"} << "19";
    QTest::newRow("12.5 + 3") << QList<Rec>{{a, Day(2025, 1, 1), 12.5f}, {b, Day(2025, 5, 5), 3}}
                              << 2025 << QStringList{"0:12.5", "1:3"} << "15.5";
    const QList<Rec> yearEnd = {{a, Day(2025, 12, 31, 23, 59, 59), 2}, {b, Day(2026, 1, 1), 1}};
    QTest::newRow("31 December late counts for its year")
        << yearEnd << 2025 << QStringList{"0:2"} << "2";
    QTest::newRow("1 January for the next") << yearEnd << 2026 << QStringList{"1:1"} << "1";
    QTest::newRow("a year without records") << yearEnd << 1955 << QStringList{} << "0";
    // Each stored value counts as the decimal it holds, not rounded to the tenth a cell shows.
    QTest::newRow("0.25 is 0.25") << QList<Rec>{{a, Day(2025, 1, 1), 0.25f}} << 2025
                                  << QStringList{"0:0.25"} << "0.25";
    QList<Rec> hundredths;
    for (const float h : {0.25f, 0.25f, 0.25f, 0.25f, 1.25f, 2.75f, 0.35f, 0.05f, 0.15f, 1.33f})
        hundredths << Rec{a, Day(2025, 4, 1), h};
    hundredths << Rec{b, Day(2025, 4, 1), 0.35f} << Rec{b, Day(2025, 5, 1), 0.05f};
    QTest::newRow("hundredths add up exactly")
        << hundredths << 2025 << QStringList{"0:6.88", "1:0.4"} << "7.28";
}

void TestSearchPass::annualTotals() {
    QFETCH(QList<Rec>, records);
    QFETCH(int, year);
    QFETCH(QStringList, totals);
    QFETCH(QString, grandTotal);
    DataFolder folder;
    QVERIFY(folder.ready());
    Write(records);
    YearSummary summary;
    QVERIFY(SumYear(std::vector<double>{Person(1), Person(2)}, year, summary));
    QCOMPARE(Shown(summary).rows, totals);
    QCOMPARE(Shown(summary).total, grandTotal);
}

// Singles summed as singles drift: 100 x 1.2 made 119.9999 and 200 x 2.4 made 479.9992.
void TestSearchPass::exactTotalsOfManyRecords() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QList<Rec> records;
    for (int i = 0; i < 100; ++i)
        records << Rec{Person(1), Day(2025, 1, 1) + i, 1.2f};
    for (int i = 0; i < 200; ++i)
        records << Rec{Person(2), Day(2025, 1, 1) + i, 2.4f};
    Write(records);
    YearSummary summary;
    QVERIFY(SumYear(std::vector<double>{Person(1), Person(2)}, 2025, summary));
    QCOMPARE(summary.rows.size(), std::size_t(2));
    QCOMPARE(summary.rows[0].hours.Text(), QStringLiteral("120"));
    QCOMPARE(summary.rows[1].hours.Text(), QStringLiteral("480"));
    QCOMPARE(summary.total.Text(), QStringLiteral("600"));
}

// Persons without training in the year at 0 hours, and those below the required hours, from
// the one pass; the total is of the persons listed, exact.
void TestSearchPass::summaryChoices_data() {
    QTest::addColumn<SummaryChoice>("choice");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("summarised");
    QTest::addColumn<int>("below");
    const QStringList both = {"0:24", "1:23.99"};
    QTest::newRow("as before") << SummaryChoice{} << both << "47.99" << 2 << 0;
    QTest::newRow("below 24 counted")
        << SummaryChoice{false, 24, false} << both << "47.99" << 2 << 1;
    QTest::newRow("only below 24")
        << SummaryChoice{false, 24, true} << QStringList{"1:23.99"} << "23.99" << 2 << 1;
    QTest::newRow("with the untrained")
        << SummaryChoice{true, 0, false} << QStringList{"0:24", "1:23.99", "2:0"} << "47.99" << 3
        << 0;
    QTest::newRow("untrained and below")
        << SummaryChoice{true, 24, true} << QStringList{"1:23.99", "2:0"} << "23.99" << 3 << 2;
    QTest::newRow("only below without a requirement")
        << SummaryChoice{false, 0, true} << both << "47.99" << 2 << 0;
    QTest::newRow("below 0.5: nobody")
        << SummaryChoice{true, 0.5f, true} << QStringList{"2:0"} << "0" << 3 << 1;
}

void TestSearchPass::summaryChoices() {
    QFETCH(SummaryChoice, choice);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    QFETCH(int, summarised);
    QFETCH(int, below);
    DataFolder folder;
    QVERIFY(folder.ready());
    // The third person trained only the year before.
    Write({{Person(1), Day(2025, 2, 1), 8},
           {Person(2), Day(2025, 2, 1), 8},
           {Person(1), Day(2025, 3, 1), 16},
           {Person(2), Day(2025, 12, 31, 23), 15.99f},
           {Person(3), Day(2024, 12, 31), 40}});
    YearSummary summary;
    QVERIFY(
        SumYear(std::vector<double>{Person(1), Person(2), Person(3)}, 2025, summary, {}, choice));
    QCOMPARE(Shown(summary).rows, rows);
    QCOMPARE(Shown(summary).total, total);
    QCOMPARE(summary.summarised, summarised);
    QCOMPARE(summary.below, below);
}

// The comments field is searched in steps of several bytes: the text is found wherever it
// lies, up to the field's last byte, and never across its end.
void TestSearchPass::textFoundAtEveryPlaceOfAField() {
    const QList<std::pair<QString, QString>> cases = {
        {"range", "RaNgE"},
        {"été", "ÉTÉ"},
        {"r", "R"},
        {"47/50", "47/50"},
        {"range", "rRanRaNgE"}}; // false starts before the text
    for (const auto& [sought, stored] : cases) {
        const FieldMatch match(sought);
        const QByteArray text = store::EncodeAnsi(stored);
        for (int at = 0; at + text.size() <= 184; ++at) {
            QByteArray field(184, at % 2 ? ' ' : '\0');
            field.replace(at, text.size(), text);
            QVERIFY2(match.FoundIn(field.constData(), 184), qPrintable(QString::number(at)));
            QVERIFY(!match.FoundIn(field.constData(), at + text.size() - 1)); // cut short
        }
    }
    QVERIFY(FieldMatch(QString()).FoundIn("        ", 8));
    QVERIFY(!FieldMatch(QStringLiteral("Ω")).FoundIn("OMEGA   ", 8)); // not on the code page
}

void TestSearchPass::missingFileHoldsNoRecords() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const std::vector<double> persons{Person(1), Person(2)};
    Criteria c;
    c.code = QStringLiteral("FIR");
    std::vector<int> listed;
    QVERIFY(FindPersons(persons, c, listed));
    QVERIFY(listed.empty());
    c.listMatching = false;
    QVERIFY(FindPersons(persons, c, listed));
    QCOMPARE(listed, (std::vector<int>{0, 1}));
    YearSummary summary;
    QVERIFY(SumYear(persons, 2025, summary));
    QVERIFY(summary.rows.empty());
    QVERIFY(!QFileInfo::exists(QStringLiteral("Training.Records"))); // nothing created
}

void TestSearchPass::unreadableFileIsToldByName() {
    DataFolder folder;
    QVERIFY(folder.ready());
    // A folder in the file's place cannot be opened as a file by anyone, root included.
    QVERIFY(QDir().mkdir(QStringLiteral("Training.Records")));
    std::vector<int> listed{7};
    Criteria c;
    c.code = QStringLiteral("FIR");
    const store::StoreResult searched = FindPersons(std::vector<double>{Person(1)}, c, listed);
    QVERIFY(!searched);
    QCOMPARE(searched.fileName(), QStringLiteral("Training.Records"));
    QVERIFY(!searched.reason().isEmpty());
    QVERIFY(listed.empty());
    YearSummary summary;
    const store::StoreResult summed = SumYear(std::vector<double>{Person(1)}, 2025, summary);
    QVERIFY(!summed);
    QCOMPARE(summed.fileName(), QStringLiteral("Training.Records"));
    QVERIFY(!store::Trainings().IsOpen());
}

void TestSearchPass::progressRunsFromZeroToHundred() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QList<Rec> records;
    for (int i = 0; i < 40000; ++i)
        records << Rec{Person(1 + i % 4), Day(2025, 1, 1), 1};
    Write(records);
    QList<int> told;
    YearSummary summary;
    QVERIFY(SumYear(std::vector<double>{Person(1)}, 2025, summary,
                    [&told](int percent) { told << percent; }));
    QVERIFY(told.size() >= 2);
    QCOMPARE(told.first(), 0);
    QCOMPARE(told.last(), 100);
    for (int i = 1; i < told.size(); ++i)
        QVERIFY(told[i] > told[i - 1]);
}

QTEST_GUILESS_MAIN(TestSearchPass)
#include "test_searchpass.moc"
