// Value formats and the injectable clock: store/Formats.h, store/Clock.h.
#include "store/Clock.h"
#include "store/Formats.h"

#include <QLocale>
#include <QTest>
#include <QTimeZone>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

using namespace formats;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double Value(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return DateValue(QDate(y, m, d), QTime(h, n, s));
}

// The reference computation: whole days plus whole seconds / 86400.0.
double Reference(int y, int m, int d, int secondsOfDay) {
    const double days = static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
    const double fraction = secondsOfDay / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

// Same value, bit for bit (QCOMPARE on doubles allows a relative error).
bool Same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TestFormats : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { store::SetClock({}); }

    // ---- Date values ----
    void dateValueOfKnownDates_data();
    void dateValueOfKnownDates();
    void dateValueOfInvalidInput();
    void dateValueOfDateTime();
    void dateValueMatchesReferenceComputation();
    void partsOfValues_data();
    void partsOfValues();
    void partsOfUnusableValues_data();
    void partsOfUnusableValues();
    void wholeSecondsRoundTripEveryDay();
    void wholeSecondsRoundTripEverySecondOfADay();
    void dateTimeOfKeepsTimesSkippedByDaylightSaving();
    void wholeSecondValue();
    void dayNumberAgreesWithTheDateText();

    // ---- Patterns ----
    void datePatterns_data();
    void datePatterns();
    void createdStamp_data();
    void createdStamp();
    void generalDate_data();
    void generalDate();
    void generalDateRoundTripEveryHour();
    void generalDateRoundTripAcrossYears();
    void generalDateRoundTripNegativeValues();
    void parseGeneralDate_data();
    void parseGeneralDate();

    // ---- Numbers ----
    void hours_data();
    void hours();
    void hoursTenthsAgreeWithTheShownHours();
    void percent_data();
    void percent();
    void zeroPercent_data();
    void zeroPercent();
    void doubleText_data();
    void doubleText();
    void keyTextIsStableForWholeSecondValues();
    void singleText_data();
    void singleText();
    void pattern_data();
    void pattern();
    void versionLabel();
    void numbersIgnoreTheLocale();

    // ---- Typed text ----
    void parseDateAccepts_data();
    void parseDateAccepts();
    void parseDateRejects_data();
    void parseDateRejects();
    void parseDateTwoDigitYearWindow();
    void leadingNumber_data();
    void leadingNumber();
    void isNumeric_data();
    void isNumeric();

    // ---- Clock ----
    void clockInjection();
    void clockDropsMilliseconds();
    void clockEmptySourceRestoresSystemClock();
    void clockInvalidSource();
};

// ---- Date values ------------------------------------------------------------------------

void TestFormats::dateValueOfKnownDates_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<double>("expected");
    QTest::newRow("base") << QDate(1899, 12, 30) << QTime(0, 0) << 0.0;
    QTest::newRow("base noon") << QDate(1899, 12, 30) << QTime(12, 0) << 0.5;
    QTest::newRow("1 Jan 1900") << QDate(1900, 1, 1) << QTime(0, 0) << 2.0;
    QTest::newRow("1 Mar 2005") << QDate(2005, 3, 1) << QTime(0, 0) << 38412.0;
    QTest::newRow("1 Mar 2005 18:00") << QDate(2005, 3, 1) << QTime(18, 0) << 38412.75;
    QTest::newRow("29 Dec 1899 06:00") << QDate(1899, 12, 29) << QTime(6, 0) << -1.25;
    QTest::newRow("29 Dec 1899") << QDate(1899, 12, 29) << QTime(0, 0) << -1.0;
    QTest::newRow("28 Dec 1899 18:00") << QDate(1899, 12, 28) << QTime(18, 0) << -2.75;
    QTest::newRow("first day") << QDate(100, 1, 1) << QTime(0, 0) << -657434.0;
    QTest::newRow("last day") << QDate(9999, 12, 31) << QTime(0, 0) << 2958465.0;
}

void TestFormats::dateValueOfKnownDates() {
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(double, expected);
    QVERIFY2(Same(DateValue(date, time), expected), qPrintable(DoubleText(DateValue(date, time))));
    if (time == QTime(0, 0))
        QVERIFY(Same(DateValue(date), expected));
}

void TestFormats::dateValueOfInvalidInput() {
    QVERIFY(std::isnan(DateValue(QDate())));
    QVERIFY(std::isnan(DateValue(QDate(99, 12, 31))));
    QVERIFY(std::isnan(DateValue(QDate(10000, 1, 1))));
    QVERIFY(std::isnan(DateValue(QDateTime())));
    // An invalid time counts as midnight.
    QVERIFY(Same(DateValue(QDate(2005, 3, 1), QTime()), 38412.0));
}

void TestFormats::dateValueOfDateTime() {
    const QDate date(2005, 3, 1);
    const QTime time(12, 33, 50);
    const double expected = DateValue(date, time);
    QVERIFY(Same(DateValue(QDateTime(date, time)), expected));
    QVERIFY(Same(DateValue(QDateTime(date, time, QTimeZone::utc())), expected));
    QVERIFY(Same(DateValue(QDateTime(date, time, QTimeZone(5 * 3600))), expected));
}

void TestFormats::dateValueMatchesReferenceComputation() {
    // days + seconds / 86400.0, bit for bit, for a spread of dates and every 997th second.
    for (int year = 1800; year <= 2200; year += 7) {
        const QDate date(year, 1 + year % 12, 1 + year % 28);
        for (int s = 0; s < 86400; s += 997) {
            const double value = DateValue(date, QTime::fromMSecsSinceStartOfDay(s * 1000));
            QVERIFY2(Same(value, Reference(date.year(), date.month(), date.day(), s)),
                     qPrintable(date.toString() + QString::number(s)));
        }
    }
    QVERIFY(Same(Value(2005, 3, 1, 12, 33, 50), 38412.0 + 45230 / 86400.0));
}

void TestFormats::partsOfValues_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::newRow("0") << 0.0 << QDate(1899, 12, 30) << QTime(0, 0);
    QTest::newRow("2") << 2.0 << QDate(1900, 1, 1) << QTime(0, 0);
    QTest::newRow("key") << 38412.5234953704 << QDate(2005, 3, 1) << QTime(12, 33, 50);
    QTest::newRow("0.75") << 38412.75 << QDate(2005, 3, 1) << QTime(18, 0);
    QTest::newRow("-1.25") << -1.25 << QDate(1899, 12, 29) << QTime(6, 0);
    QTest::newRow("-1") << -1.0 << QDate(1899, 12, 29) << QTime(0, 0);
    QTest::newRow("-2.75") << -2.75 << QDate(1899, 12, 28) << QTime(18, 0);
    // Rounding to the nearest second, carrying into the next day.
    QTest::newRow("0.4 s") << 38412.0 + 0.4 / 86400 << QDate(2005, 3, 1) << QTime(0, 0, 0);
    QTest::newRow("0.6 s") << 38412.0 + 0.6 / 86400 << QDate(2005, 3, 1) << QTime(0, 0, 1);
    QTest::newRow("23:59:59.6") << 38412.0 + 86399.6 / 86400 << QDate(2005, 3, 2) << QTime(0, 0, 0);
    QTest::newRow("23:59:59.4") << 38412.0 + 86399.4 / 86400 << QDate(2005, 3, 1)
                                << QTime(23, 59, 59);
    QTest::newRow("first day") << -657434.0 << QDate(100, 1, 1) << QTime(0, 0);
    QTest::newRow("last second") << 2958465.0 + 86399 / 86400.0 << QDate(9999, 12, 31)
                                 << QTime(23, 59, 59);
}

void TestFormats::partsOfValues() {
    QFETCH(double, value);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QCOMPARE(DatePart(value), date);
    QCOMPARE(TimePart(value), time);
    const QDateTime both = DateTimeOf(value);
    QCOMPARE(both.date(), date);
    QCOMPARE(both.time(), time);
}

void TestFormats::partsOfUnusableValues_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("NaN") << kNaN;
    QTest::newRow("+inf") << kInf;
    QTest::newRow("-inf") << -kInf;
    QTest::newRow("before year 100") << -657435.0;
    QTest::newRow("after year 9999") << 2958466.0;
    QTest::newRow("rounds into year 10000") << 2958465.0 + 86399.9 / 86400;
    QTest::newRow("huge") << 1e300;
    QTest::newRow("huge negative") << -1e300;
}

void TestFormats::partsOfUnusableValues() {
    QFETCH(double, value);
    QVERIFY(!DatePart(value).isValid());
    QVERIFY(!TimePart(value).isValid());
    QVERIFY(!DateTimeOf(value).isValid());
    QVERIFY(std::isnan(WholeSecondValue(value)));
    QCOMPARE(MmDdYyyy(value), QString());
    QCOMPARE(YyyyMmDd(value), QString());
    QCOMPARE(Yyyy(value), QString());
    QCOMPARE(HhNnSs(value), QString());
    QCOMPARE(CreatedStamp(value), QString());
    QCOMPARE(GeneralDate(value), QString());
}

void TestFormats::wholeSecondsRoundTripEveryDay() {
    // Every day from 1800 to 2200 at a time that changes with the day.
    const QDate first(1800, 1, 1);
    const QDate last(2200, 12, 31);
    int s = 0;
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        s = (s + 4931) % 86400;
        const QTime t = QTime::fromMSecsSinceStartOfDay(s * 1000);
        const double value = DateValue(d, t);
        const QDateTime back = DateTimeOf(value);
        if (back.date() != d || back.time() != t)
            QFAIL(qPrintable(d.toString(Qt::ISODate) + QLatin1Char(' ') + t.toString()));
    }
}

void TestFormats::wholeSecondsRoundTripEverySecondOfADay() {
    for (const QDate& d : {QDate(2005, 3, 1), QDate(1899, 12, 29), QDate(1899, 12, 30),
                           QDate(9999, 12, 31), QDate(100, 1, 1)}) {
        for (int s = 0; s < 86400; ++s) {
            const QTime t = QTime::fromMSecsSinceStartOfDay(s * 1000);
            const QDateTime back = DateTimeOf(DateValue(d, t));
            if (back.date() != d || back.time() != t)
                QFAIL(qPrintable(d.toString(Qt::ISODate) + QLatin1Char(' ') + t.toString()));
        }
    }
}

void TestFormats::dateTimeOfKeepsTimesSkippedByDaylightSaving() {
    // 02:30 on the day clocks go forward in many zones: a naive time must survive unchanged.
    for (const QDate& d : {QDate(2025, 3, 9), QDate(2025, 3, 30), QDate(2025, 10, 26)}) {
        const double value = DateValue(d, QTime(2, 30));
        QCOMPARE(DateTimeOf(value).date(), d);
        QCOMPARE(DateTimeOf(value).time(), QTime(2, 30));
        QCOMPARE(DateValue(DateTimeOf(value)), value);
    }
}

void TestFormats::wholeSecondValue() {
    const double exact = Value(2005, 3, 1, 12, 33, 50);
    QVERIFY(Same(WholeSecondValue(exact), exact));
    // Another program's computation may differ in the last bit (hours/24 + minutes/1440 + ...).
    const double other = 38412.0 + 12 / 24.0 + 33 / 1440.0 + 50 / 86400.0;
    QVERIFY(Same(WholeSecondValue(other), exact));
    QVERIFY(Same(WholeSecondValue(std::nextafter(exact, 0.0)), exact));
    QVERIFY(Same(WholeSecondValue(std::nextafter(exact, 1e9)), exact));
    QVERIFY(Same(WholeSecondValue(exact + 0.3 / 86400), exact));
    QVERIFY(Same(WholeSecondValue(-1.25), -1.25));
}

// ---- Patterns ---------------------------------------------------------------------------

// Day numbers order values as their "yyyymmdd" texts do, also around midnight, before the
// base date and at the ends of the range.
void TestFormats::dayNumberAgreesWithTheDateText() {
    const auto asNumber = [](double value) { return YyyyMmDd(value).toLongLong(); };
    QList<double> values = {kNaN,
                            kInf,
                            -kInf,
                            0,
                            -0.5,
                            -1.25,
                            -1.999999999,
                            1e10,
                            -1e10,
                            Value(100, 1, 1),
                            Value(9999, 12, 31, 23, 59, 59)};
    values << Value(100, 1, 1) - 1 << Value(9999, 12, 31, 23, 59, 59) + 1.0 / 86400;
    quint32 seed = 99;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double day = double(int(seed % 60000)) - 10000.0;
        // Whole days, half a second either side of midnight, and any time of day.
        values << day << day - 0.49 / 86400 << day - 0.51 / 86400 << day + 0.49 / 86400
               << day + (seed % 86400) / 86400.0;
    }
    std::optional<qint64> last;
    qint64 lastText = 0;
    for (const double value : values) {
        const std::optional<qint64> day = DayNumber(value);
        const qint64 text = asNumber(value);
        QCOMPARE(day.has_value(), text != 0);
        if (!day)
            continue;
        QCOMPARE(*day, DayNumberOf(DatePart(value)));
        if (last)
            QCOMPARE(*day < *last, text < lastText);
        last = day;
        lastText = text;
    }
}

void TestFormats::datePatterns_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("mmddyyyy");
    QTest::addColumn<QString>("yyyymmdd");
    QTest::addColumn<QString>("yyyy");
    QTest::addColumn<QString>("hhnnss");
    QTest::newRow("log line") << Value(2014, 3, 7, 8, 15, 2) << "03/07/2014"
                              << "20140307"
                              << "2014"
                              << "08:15:02";
    QTest::newRow("afternoon") << Value(2014, 3, 7, 23, 40, 55) << "03/07/2014"
                               << "20140307"
                               << "2014"
                               << "23:40:55";
    QTest::newRow("key") << 38412.5234953704 << "03/01/2005"
                         << "20050301"
                         << "2005"
                         << "12:33:50";
    QTest::newRow("base") << 0.0 << "12/30/1899"
                          << "18991230"
                          << "1899"
                          << "00:00:00";
    QTest::newRow("negative") << -1.25 << "12/29/1899"
                              << "18991229"
                              << "1899"
                              << "06:00:00";
    QTest::newRow("year 100") << -657434.0 << "01/01/0100"
                              << "01000101"
                              << "0100"
                              << "00:00:00";
    QTest::newRow("rounds up to next year") << Value(2025, 12, 31) + 86399.7 / 86400 << "01/01/2026"
                                            << "20260101"
                                            << "2026"
                                            << "00:00:00";
}

void TestFormats::datePatterns() {
    QFETCH(double, value);
    QFETCH(QString, mmddyyyy);
    QFETCH(QString, yyyymmdd);
    QFETCH(QString, yyyy);
    QFETCH(QString, hhnnss);
    QCOMPARE(MmDdYyyy(value), mmddyyyy);
    QCOMPARE(YyyyMmDd(value), yyyymmdd);
    QCOMPARE(Yyyy(value), yyyy);
    QCOMPARE(HhNnSs(value), hhnnss);
    QCOMPARE(Pattern(value, QStringLiteral("mm/dd/yyyy")), mmddyyyy);
    QCOMPARE(Pattern(value, QStringLiteral("yyyymmdd")), yyyymmdd);
    QCOMPARE(Pattern(value, QStringLiteral("yyyy")), yyyy);
    QCOMPARE(Pattern(value, QStringLiteral("hh:nn:ss")), hhnnss);
    QCOMPARE(Pattern(value, QStringLiteral("MM/DD/YYYY")), mmddyyyy);
}

void TestFormats::createdStamp_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("example") << Value(2005, 3, 3, 14, 5) << "03/03/2005 02:05pm ";
    QTest::newRow("midnight") << Value(2005, 3, 3, 0, 0) << "03/03/2005 12:00am ";
    QTest::newRow("after midnight") << Value(2005, 3, 3, 0, 59, 59) << "03/03/2005 12:59am ";
    QTest::newRow("morning") << Value(2005, 3, 3, 9, 7) << "03/03/2005 09:07am ";
    QTest::newRow("before noon") << Value(2005, 3, 3, 11, 59, 59) << "03/03/2005 11:59am ";
    QTest::newRow("noon") << Value(2005, 3, 3, 12, 0) << "03/03/2005 12:00pm ";
    QTest::newRow("evening") << Value(2026, 12, 31, 23, 59, 59) << "12/31/2026 11:59pm ";
    QTest::newRow("key") << 38412.5234953704 << "03/01/2005 12:33pm ";
}

void TestFormats::createdStamp() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(CreatedStamp(value), expected);
    QCOMPARE(Pattern(value, QStringLiteral("mm/dd/yyyy hh:mmam/pm ")), expected);
    QCOMPARE(Pattern(value, QStringLiteral("mm/dd/yyyy hh:mmam/pm")), expected.chopped(1));
    QCOMPARE(QStringLiteral(" Record Created ") + CreatedStamp(value),
             QStringLiteral(" Record Created ") + expected);
}

void TestFormats::generalDate_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("example") << Value(2005, 3, 1, 12, 33, 50) << "3/1/2005 12:33:50 PM";
    QTest::newRow("key text") << 38412.5234953704 << "3/1/2005 12:33:50 PM";
    QTest::newRow("date alone") << Value(2005, 3, 1) << "3/1/2005";
    QTest::newRow("one second") << Value(2005, 3, 1, 0, 0, 1) << "3/1/2005 12:00:01 AM";
    QTest::newRow("morning") << Value(2026, 11, 12, 9, 5, 7) << "11/12/2026 9:05:07 AM";
    QTest::newRow("evening") << Value(2026, 12, 31, 23, 59, 59) << "12/31/2026 11:59:59 PM";
    QTest::newRow("time alone") << 0.5234953704 << "12:33:50 PM";
    QTest::newRow("zero") << 0.0 << "12:00:00 AM";
    QTest::newRow("negative") << -1.25 << "12/29/1899 6:00:00 AM";
    QTest::newRow("negative date alone") << -1.0 << "12/29/1899";
    QTest::newRow("NaN") << kNaN << "";
    QTest::newRow("inf") << kInf << "";
}

void TestFormats::generalDate() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(GeneralDate(value), expected);
    QCOMPARE(Pattern(value, QStringLiteral("General Date")), expected);
}

void TestFormats::generalDateRoundTripEveryHour() {
    for (const QDate& d : {QDate(2005, 3, 1), QDate(1899, 12, 30), QDate(2026, 6, 15)}) {
        for (int h = 0; h < 24; ++h) {
            for (const QTime& t : {QTime(h, 0, 0), QTime(h, 33, 50), QTime(h, 59, 59)}) {
                const double value = DateValue(d, t);
                const std::optional<double> back = ParseGeneralDate(GeneralDate(value));
                QVERIFY2(back && Same(*back, value), qPrintable(GeneralDate(value)));
            }
        }
    }
}

void TestFormats::generalDateRoundTripAcrossYears() {
    // Every 3rd day from 1900 to 2100, at a second that varies with the day.
    int s = 17;
    for (QDate d(1900, 1, 1); d <= QDate(2100, 12, 31); d = d.addDays(3)) {
        s = (s + 7919) % 86400;
        const double value = DateValue(d, QTime::fromMSecsSinceStartOfDay(s * 1000));
        const QString text = GeneralDate(value);
        const std::optional<double> back = ParseGeneralDate(text);
        if (!back || !Same(*back, value))
            QFAIL(qPrintable(text));
        // The reference computation gives the same value as well.
        if (!Same(value, Reference(d.year(), d.month(), d.day(), s)))
            QFAIL(qPrintable(text));
    }
}

void TestFormats::generalDateRoundTripNegativeValues() {
    for (const double value : {-1.25, -1.0, -2.75, -657434.0, -36522.0 - 45230 / 86400.0}) {
        const std::optional<double> back = ParseGeneralDate(GeneralDate(value));
        QVERIFY2(back && Same(*back, value), qPrintable(GeneralDate(value)));
    }
}

void TestFormats::parseGeneralDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");
    QTest::newRow("general") << "3/1/2005 12:33:50 PM" << true << Value(2005, 3, 1, 12, 33, 50);
    QTest::newRow("lower pm") << "3/1/2005 12:33:50 pm" << true << Value(2005, 3, 1, 12, 33, 50);
    QTest::newRow("no blank before pm") << "3/1/2005 2:05pm" << true << Value(2005, 3, 1, 14, 5);
    QTest::newRow("12 AM") << "3/1/2005 12:00:01 AM" << true << Value(2005, 3, 1, 0, 0, 1);
    QTest::newRow("24-hour") << "3/1/2005 17:45" << true << Value(2005, 3, 1, 17, 45);
    QTest::newRow("blanks around")
        << "  03/01/2005   08:00:00  " << true << Value(2005, 3, 1, 8, 0);
    QTest::newRow("date alone") << "3/1/2005" << true << Value(2005, 3, 1);
    QTest::newRow("month name") << "June 15, 2026 8:30 AM" << true << Value(2026, 6, 15, 8, 30);
    QTest::newRow("iso") << "2026-06-15 08:30:00" << true << Value(2026, 6, 15, 8, 30);
    QTest::newRow("time alone") << "12:33:50 PM" << true << 45230 / 86400.0;
    QTest::newRow("midnight alone") << "12:00:00 AM" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("text") << "yesterday" << false << 0.0;
    QTest::newRow("bad date") << "13/45/2026 8:00" << false << 0.0;
    QTest::newRow("hour 24") << "3/1/2005 24:00" << false << 0.0;
    QTest::newRow("hour 13 pm") << "3/1/2005 13:00 PM" << false << 0.0;
    QTest::newRow("hour 0 am") << "3/1/2005 0:30 AM" << false << 0.0;
    QTest::newRow("minute 60") << "3/1/2005 8:60" << false << 0.0;
    QTest::newRow("second 60") << "3/1/2005 8:00:60" << false << 0.0;
    QTest::newRow("no blank before time") << "3/1/200508:00" << false << 0.0;
    QTest::newRow("trailing text") << "3/1/2005 8:00 PM x" << false << 0.0;
    QTest::newRow("missing minutes") << "3/1/2005 8: PM" << false << 0.0;
    QTest::newRow("colon first") << ":30" << false << 0.0;
}

void TestFormats::parseGeneralDate() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    const std::optional<double> value = ParseGeneralDate(text);
    QCOMPARE(value.has_value(), ok);
    if (ok)
        QVERIFY2(Same(*value, expected), qPrintable(DoubleText(*value)));
}

// ---- Numbers ----------------------------------------------------------------------------

void TestFormats::hours_data() {
    QTest::addColumn<double>("hours");
    QTest::addColumn<QString>("expected");
    QTest::newRow("8") << 8.0 << "8.0";
    QTest::newRow("24") << 24.0 << "24.0";
    QTest::newRow("half") << 0.5 << ".5";
    QTest::newRow("12.5") << 12.5 << "12.5";
    QTest::newRow("3") << 3.0 << "3.0";
    QTest::newRow("0") << 0.0 << ".0";
    QTest::newRow("999") << 999.0 << "999.0";
    QTest::newRow("1234.5 beyond the placeholders") << 1234.5 << "1234.5";
    QTest::newRow("12.25 half up") << 12.25 << "12.3";
    QTest::newRow("12.35 half up") << 12.35 << "12.4";
    QTest::newRow("0.05 on the decimal text") << 0.05 << ".1";
    QTest::newRow("0.04") << 0.04 << ".0";
    QTest::newRow("0.95 carries") << 0.95 << "1.0";
    QTest::newRow("9.96 carries") << 9.96 << "10.0";
    QTest::newRow("99.99 carries") << 99.99 << "100.0";
    QTest::newRow("single 0.35") << static_cast<double>(0.35f) << ".4";
    QTest::newRow("single 1.15") << static_cast<double>(1.15f) << "1.2";
    QTest::newRow("single 7.5") << static_cast<double>(7.5f) << "7.5";
    QTest::newRow("single-exact but 8 digits") << 16777218.0 << "16777218.0";
    QTest::newRow("single-exact 2^-10") << 1.0 / 1024 << ".0";
    QTest::newRow("large") << 123456789.25 << "123456789.3";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("negative half") << -0.25 << "-.3";
    QTest::newRow("negative to zero") << -0.04 << ".0";
    QTest::newRow("NaN") << kNaN << "";
    QTest::newRow("inf") << kInf << "";
}

void TestFormats::hours() {
    QFETCH(double, hours);
    QFETCH(QString, expected);
    QCOMPARE(Hours(hours), expected);
    QCOMPARE(Pattern(hours, QStringLiteral("###.0")), expected);
}

// The tenths a total adds up are the tenths the cells show, for every kind of single: near a
// half tenth, wide, negative and unusable.
void TestFormats::hoursTenthsAgreeWithTheShownHours() {
    const auto shown = [](double hours) { return std::llround(LeadingNumber(Hours(hours)) * 10); };
    QList<double> values = {0.35f, 0.25f, 1.15f, 12.25f, 2.45f, 99999.95f,  1.2f, 2.4f, 8,    -2.5,
                            -0.25, 0.05f, 0.0,   -0.0,   1e9f,  123456.75f, kNaN, kInf, -kInf};
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        // Quarters and twentieths of hours up to 1000, then arbitrary bit patterns.
        const float h = i % 2 ? float(seed % 20000) / 20.0f : float(seed % 4000) / 4.0f;
        values << h << double(std::bit_cast<float>(seed));
    }
    for (const double hours : values) {
        if (std::isfinite(hours) && std::fabs(hours) > 1e15)
            continue; // beyond any sum
        const qint64 expected = std::isfinite(hours) ? shown(hours) : 0;
        if (HoursTenths(hours) != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2 tenths, shown %3")
                                 .arg(hours, 0, 'g', 17)
                                 .arg(HoursTenths(hours))
                                 .arg(expected)));
    }
}

void TestFormats::percent_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("expected");
    QTest::newRow("minimum") << 0.01 << "1%";
    QTest::newRow("half") << 0.5 << "50%";
    QTest::newRow("full") << 1.0 << "100%";
    QTest::newRow("45") << 0.45 << "45%";
    QTest::newRow("445 of 890") << 445.0 / 890 << "50%";
    QTest::newRow("92 of 184") << 92.0 / 184 << "50%";
    QTest::newRow("100 of 200") << 100.0 / 200 << "50%";
    QTest::newRow("1 of 439 raised to 0.01") << std::max(0.01, 1.0 / 439) << "1%";
    QTest::newRow("4 of 439") << std::max(0.01, 4.0 / 439) << "1%";
    QTest::newRow("439 of 439") << 439.0 / 439 << "100%";
    QTest::newRow("5 of 439") << 5.0 / 439 << "1%";
    QTest::newRow("7 of 439") << 7.0 / 439 << "2%";
    QTest::newRow("half up on the decimal text") << 0.285 << "29%";
    QTest::newRow("one eighth") << 0.125 << "13%";
    QTest::newRow("below half a percent") << 0.004 << "%";
    QTest::newRow("zero") << 0.0 << "%";
    QTest::newRow("over") << 1.5 << "150%";
}

void TestFormats::percent() {
    QFETCH(double, fraction);
    QFETCH(QString, expected);
    QCOMPARE(Percent(fraction), expected);
    QCOMPARE(Pattern(fraction, QStringLiteral("###%")), expected);
    QCOMPARE(QStringLiteral(" ") + Percent(fraction) + QStringLiteral(" full "),
             QStringLiteral(" ") + expected + QStringLiteral(" full "));
}

void TestFormats::zeroPercent_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1 of 4") << 1.0 / 4 << "25%";
    QTest::newRow("2 of 4") << 2.0 / 4 << "50%";
    QTest::newRow("3 of 4") << 3.0 / 4 << "75%";
    QTest::newRow("4 of 4") << 4.0 / 4 << "100%";
    QTest::newRow("zero") << 0.0 << "0%";
    QTest::newRow("small") << 0.004 << "0%";
    QTest::newRow("1 of 3") << 1.0 / 3 << "33%";
    QTest::newRow("2 of 3") << 2.0 / 3 << "67%";
    QTest::newRow("1 of 200") << 1.0 / 200 << "1%";
}

void TestFormats::zeroPercent() {
    QFETCH(double, fraction);
    QFETCH(QString, expected);
    QCOMPARE(ZeroPercent(fraction), expected);
    QCOMPARE(Pattern(fraction, QStringLiteral("0%")), expected);
}

void TestFormats::doubleText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("key") << Value(2005, 3, 1, 12, 33, 50) << "38412.5234953704";
    QTest::newRow("key literal") << 38412.5234953704 << "38412.5234953704";
    QTest::newRow("whole") << 38412.0 << "38412";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("negative half") << -0.5 << "-0.5";
    QTest::newRow("negative key") << -1.25 << "-1.25";
    QTest::newRow("0.1") << 0.1 << "0.1";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("1/3") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("2/3") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("1e15") << 1e15 << "1E+15";
    QTest::newRow("1.5e20") << 1.5e20 << "1.5E+20";
    QTest::newRow("0.0001") << 0.0001 << "0.0001";
    QTest::newRow("0.00001") << 0.00001 << "1E-05";
    QTest::newRow("single widened") << static_cast<double>(0.3f) << "0.300000011920929";
    QTest::newRow("NaN") << kNaN << "";
    QTest::newRow("inf") << kInf << "";
}

void TestFormats::doubleText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(DoubleText(value), expected);
}

void TestFormats::keyTextIsStableForWholeSecondValues() {
    // Distinct whole-second values give distinct 15-digit texts, and equal values equal texts,
    // for keys from 1900 to 2100 (each second of one day and one second a day for 200 years).
    const double day = DateValue(QDate(2100, 12, 31));
    QString previous;
    for (int s = 0; s < 86400; ++s) {
        const QString text = DoubleText(day + s / 86400.0);
        if (text == previous)
            QFAIL(qPrintable(text));
        previous = text;
    }
    for (QDate d(1900, 1, 1); d <= QDate(2100, 12, 31); d = d.addDays(1)) {
        const double value = DateValue(d, QTime(23, 59, 59));
        const double next = DateValue(d.addDays(1));
        if (DoubleText(value) == DoubleText(next) || DoubleText(value) != DoubleText(value + 0))
            QFAIL(qPrintable(d.toString()));
    }
}

void TestFormats::singleText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12.5") << 12.5f << "12.5";
    QTest::newRow("8") << 8.0f << "8";
    QTest::newRow("0.3") << 0.3f << "0.3";
    QTest::newRow("7.5") << 7.5f << "7.5";
    QTest::newRow("0") << 0.0f << "0";
    QTest::newRow("0.35") << 0.35f << "0.35";
    QTest::newRow("1.1") << 1.1f << "1.1";
    QTest::newRow("999") << 999.0f << "999";
    QTest::newRow("1/3") << 1.0f / 3 << "0.3333333";
    QTest::newRow("1e7") << 1e7f << "1E+07";
    QTest::newRow("1234567") << 1234567.0f << "1234567";
    QTest::newRow("negative") << -2.25f << "-2.25";
}

void TestFormats::singleText() {
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(SingleText(value), expected);
}

void TestFormats::pattern_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("## 3") << 3.0 << "##"
                          << "3";
    QTest::newRow("## 12") << 12.0 << "##"
                           << "12";
    QTest::newRow("## 123 overflows the placeholders") << 123.0 << "##"
                                                       << "123";
    QTest::newRow("## 0 is empty") << 0.0 << "##"
                                   << "";
    QTest::newRow("## rounds") << 2.5 << "##"
                               << "3";
    QTest::newRow("#### 18") << 18.0 << "####"
                             << "18";
    QTest::newRow("#### 0 is empty") << 0.0 << "####"
                                     << "";
    QTest::newRow("00 pads") << 5.0 << "00"
                             << "05";
    QTest::newRow("#0 zero") << 0.0 << "#0"
                             << "0";
    QTest::newRow("0.0 leading zero") << 0.5 << "0.0"
                                      << "0.5";
    QTest::newRow("0.00") << 2.0 << "0.00"
                          << "2.00";
    QTest::newRow("0.0# keeps one") << 2.5 << "0.0#"
                                    << "2.5";
    QTest::newRow("0.0# shows two") << 2.25 << "0.0#"
                                    << "2.25";
    QTest::newRow("#.# whole keeps point") << 5.0 << "#.#"
                                           << "5.";
    QTest::newRow("###.0 delegates") << 8.0 << "###.0"
                                     << "8.0";
    QTest::newRow("###% delegates") << 0.5 << "###%"
                                    << "50%";
    QTest::newRow("0% delegates") << 0.25 << "0%"
                                  << "25%";
    QTest::newRow("0.0% decimals") << 0.1234 << "0.0%"
                                   << "12.3%";
    QTest::newRow("empty pattern") << 38412.5234953704 << ""
                                   << "38412.5234953704";
    QTest::newRow("unknown pattern") << 0.5 << "currency"
                                     << "0.5";
    QTest::newRow("general date") << 38412.5234953704 << "general date"
                                  << "3/1/2005 12:33:50 PM";
    QTest::newRow("## NaN") << kNaN << "##"
                            << "";
}

void TestFormats::pattern() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Pattern(value, pattern), expected);
}

void TestFormats::versionLabel() {
    const QString label = QStringLiteral("Version w") + Pattern(3, QStringLiteral("##")) +
                          QLatin1Char('.') + Pattern(12, QStringLiteral("##")) + QLatin1Char('.') +
                          Pattern(18, QStringLiteral("####"));
    QCOMPARE(label, QStringLiteral("Version w3.12.18"));
}

void TestFormats::numbersIgnoreTheLocale() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString key = DoubleText(38412.5234953704);
    const QString hours = Hours(12.5);
    const QString single = SingleText(0.3f);
    const double leading = LeadingNumber(QStringLiteral("12.5"));
    const bool numeric = IsNumeric(QStringLiteral("7.5"));
    const std::optional<double> date = ParseDate(QStringLiteral("Jun 15 2026"));
    QLocale::setDefault(saved);
    QCOMPARE(key, QStringLiteral("38412.5234953704"));
    QCOMPARE(hours, QStringLiteral("12.5"));
    QCOMPARE(single, QStringLiteral("0.3"));
    QCOMPARE(leading, 12.5);
    QVERIFY(numeric);
    QVERIFY(date && Same(*date, Value(2026, 6, 15)));
}

// ---- Typed text -------------------------------------------------------------------------

void TestFormats::parseDateAccepts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("mm/dd/yyyy") << "06/15/2026" << QDate(2026, 6, 15);
    QTest::newRow("m/d/yyyy") << "6/5/2026" << QDate(2026, 6, 5);
    QTest::newRow("m/d/yy") << "6/15/26" << QDate(2026, 6, 15);
    QTest::newRow("m-d-yyyy") << "6-15-2026" << QDate(2026, 6, 15);
    QTest::newRow("m.d.yyyy") << "6.15.2026" << QDate(2026, 6, 15);
    QTest::newRow("m-d-yy") << "06-15-26" << QDate(2026, 6, 15);
    QTest::newRow("yyyy-mm-dd") << "2026-06-15" << QDate(2026, 6, 15);
    QTest::newRow("yyyy/m/d") << "2026/6/5" << QDate(2026, 6, 5);
    QTest::newRow("Jun 15 2026") << "Jun 15 2026" << QDate(2026, 6, 15);
    QTest::newRow("June 15, 2026") << "June 15, 2026" << QDate(2026, 6, 15);
    QTest::newRow("15-Jun-26") << "15-Jun-26" << QDate(2026, 6, 15);
    QTest::newRow("15-Jun-2026") << "15-Jun-2026" << QDate(2026, 6, 15);
    QTest::newRow("15 Jun 2026") << "15 Jun 2026" << QDate(2026, 6, 15);
    QTest::newRow("15 june 2026") << "15 june 2026" << QDate(2026, 6, 15);
    QTest::newRow("JUN 15 26") << "JUN 15 26" << QDate(2026, 6, 15);
    QTest::newRow("Sept 1 2026") << "Sept 1 2026" << QDate(2026, 9, 1);
    QTest::newRow("Dec. 31, 1999") << "Dec. 31, 1999" << QDate(1999, 12, 31);
    QTest::newRow("2026-Jun-15") << "2026-Jun-15" << QDate(2026, 6, 15);
    QTest::newRow("blanks around") << "  06/15/2026 " << QDate(2026, 6, 15);
    QTest::newRow("blanks around separators") << "6 / 15 / 2026" << QDate(2026, 6, 15);
    QTest::newRow("leap day 2024") << "02/29/2024" << QDate(2024, 2, 29);
    QTest::newRow("leap day 2000") << "2/29/2000" << QDate(2000, 2, 29);
    QTest::newRow("leap day 00") << "2/29/00" << QDate(2000, 2, 29);
    QTest::newRow("search from-date") << "01/01/2025" << QDate(2025, 1, 1);
    QTest::newRow("last day") << "12/31/9999" << QDate(9999, 12, 31);
    QTest::newRow("year 100") << "1/1/0100" << QDate(100, 1, 1);
    QTest::newRow("before the base") << "12/29/1899" << QDate(1899, 12, 29);
    QTest::newRow("one-digit year") << "6/15/5" << QDate(2005, 6, 15);
}

void TestFormats::parseDateAccepts() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const std::optional<double> value = ParseDate(text);
    QVERIFY2(value.has_value(), qPrintable(text));
    QVERIFY(Same(*value, DateValue(date)));
    QCOMPARE(DatePart(*value), date);
    QCOMPARE(*value, std::trunc(*value)); // no time part
    // ParseGeneralDate reads the same texts to the same values.
    const std::optional<double> general = ParseGeneralDate(text);
    QVERIFY(general && Same(*general, *value));
}

void TestFormats::parseDateRejects_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("13/45/2026") << "13/45/2026";
    QTest::newRow("02/30/2025") << "02/30/2025";
    QTest::newRow("02/29/2025") << "02/29/2025";
    QTest::newRow("2/29/1900") << "2/29/1900";
    QTest::newRow("month 13") << "13/1/2026";
    QTest::newRow("day-month order") << "15/06/2026";
    QTest::newRow("month 0") << "0/15/2026";
    QTest::newRow("day 0") << "6/0/2026";
    QTest::newRow("day 32") << "1/32/2026";
    QTest::newRow("04/31") << "04/31/2026";
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << "   ";
    QTest::newRow("text") << "abc";
    QTest::newRow("yesterday") << "yesterday";
    QTest::newRow("number") << "38412";
    QTest::newRow("no year") << "6/15";
    QTest::newRow("month and year") << "Jun 2026";
    QTest::newRow("three-digit year") << "6/15/026";
    QTest::newRow("five-digit year") << "6/15/20266";
    QTest::newRow("year 99 in four digits") << "1/1/0099";
    QTest::newRow("year 10000") << "1/1/10000";
    QTest::newRow("mixed separators") << "6/15-2026";
    QTest::newRow("comma separators") << "6,15,2026";
    QTest::newRow("blank separators") << "6 15 2026";
    QTest::newRow("trailing separator") << "6/15/2026/";
    QTest::newRow("leading separator") << "/6/15/2026";
    QTest::newRow("double separator") << "6//15/2026";
    QTest::newRow("trailing text") << "6/15/2026x";
    QTest::newRow("four parts") << "6/15/2026/1";
    QTest::newRow("three-digit month") << "006/15/2026";
    QTest::newRow("unknown month") << "Foo 15 2026";
    QTest::newRow("two month names") << "Jun Jul 2026";
    QTest::newRow("Jun 31") << "Jun 31 2026";
    QTest::newRow("month name last") << "15 2026 Jun";
    QTest::newRow("no separators") << "15Jun2026";
    QTest::newRow("with time") << "6/15/2026 8:00";
    QTest::newRow("other characters") << "6/15/2026!";
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\xd9\xa6/15/2026");
    QTest::newRow("weekday") << "Monday, June 15, 2026";
    QTest::newRow("yyyy-mm-dd bad day") << "2026-02-30";
    QTest::newRow("yyyy-dd-mm") << "2026-15-06";
}

void TestFormats::parseDateRejects() {
    QFETCH(QString, text);
    QVERIFY2(!ParseDate(text).has_value(), qPrintable(text));
}

void TestFormats::parseDateTwoDigitYearWindow() {
    for (int yy = 0; yy < 100; ++yy) {
        const QString text = QStringLiteral("7/4/%1").arg(yy, 2, 10, QLatin1Char('0'));
        const std::optional<double> value = ParseDate(text);
        QVERIFY2(value.has_value(), qPrintable(text));
        const int expected = yy < 30 ? 2000 + yy : 1900 + yy;
        QCOMPARE(DatePart(*value), QDate(expected, 7, 4));
    }
    QCOMPARE(DatePart(*ParseDate(QStringLiteral("1/1/29"))).year(), 2029);
    QCOMPARE(DatePart(*ParseDate(QStringLiteral("1/1/30"))).year(), 1930);
    QCOMPARE(DatePart(*ParseDate(QStringLiteral("15-Jun-99"))).year(), 1999);
    QCOMPARE(DatePart(*ParseDate(QStringLiteral("15-Jun-00"))).year(), 2000);
}

void TestFormats::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("8 hrs") << "8 hrs" << 8.0;
    QTest::newRow(" 12.5x") << " 12.5x" << 12.5;
    QTest::newRow("abc") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("8") << "8" << 8.0;
    QTest::newRow("8.0") << "8.0" << 8.0;
    QTest::newRow(".5") << ".5" << 0.5;
    QTest::newRow("5.") << "5." << 5.0;
    QTest::newRow("-3") << "-3" << -3.0;
    QTest::newRow("+3") << "+3" << 3.0;
    QTest::newRow("1e2") << "1e2" << 100.0;
    QTest::newRow("1E-1") << "1E-1" << 0.1;
    QTest::newRow("1d2") << "1d2" << 100.0;
    QTest::newRow("1e") << "1e" << 1.0;
    QTest::newRow("1ex") << "1ex" << 1.0;
    QTest::newRow("two points") << "1.2.3" << 1.2;
    QTest::newRow("blanks inside as Val") << "1 2" << 12.0;
    QTest::newRow("comma ends") << "1,000" << 1.0;
    QTest::newRow("tab and newline") << "\t\n 7" << 7.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("text then number") << "x8" << 0.0;
    QTest::newRow("overflow") << "1e999" << 0.0;
    QTest::newRow("hours cell") << "24.0" << 24.0;
    QTest::newRow("hours cell half") << ".5" << 0.5;
    QTest::newRow("record number") << "17" << 17.0;
}

void TestFormats::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LeadingNumber(text), expected);
}

void TestFormats::isNumeric_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("8") << "8" << true;
    QTest::newRow(" 7.5 ") << " 7.5 " << true;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("+1") << "+1" << true;
    QTest::newRow("1e2") << "1e2" << true;
    QTest::newRow("1E+2") << "1E+2" << true;
    QTest::newRow("1d2") << "1d2" << true;
    QTest::newRow(".5") << ".5" << true;
    QTest::newRow("5.") << "5." << true;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "  " << false;
    QTest::newRow("point") << "." << false;
    QTest::newRow("sign") << "-" << false;
    QTest::newRow("8 hrs") << "8 hrs" << false;
    QTest::newRow("abc") << "abc" << false;
    QTest::newRow("1 2") << "1 2" << false;
    QTest::newRow("1.2.3") << "1.2.3" << false;
    QTest::newRow("1e") << "1e" << false;
    QTest::newRow("1,000") << "1,000" << false;
    QTest::newRow("overflow") << "1e999" << false;
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("\xd9\xa6") << false;
}

void TestFormats::isNumeric() {
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(IsNumeric(text), expected);
    if (expected) // the value to save is the leading number
        QCOMPARE(LeadingNumber(text),
                 QString(text).replace(QLatin1Char('d'), QLatin1Char('e')).trimmed().toDouble());
}

// ---- Clock ------------------------------------------------------------------------------

void TestFormats::clockInjection() {
    const QDateTime fixed(QDate(2005, 3, 1), QTime(12, 33, 50));
    store::SetClock([fixed] { return fixed; });
    QCOMPARE(store::CurrentDateTime(), fixed);
    QVERIFY(Same(store::CurrentDateValue(), Value(2005, 3, 1, 12, 33, 50)));
    QCOMPARE(DoubleText(store::CurrentDateValue()), QStringLiteral("38412.5234953704"));
    QCOMPARE(CreatedStamp(store::CurrentDateValue()), QStringLiteral("03/01/2005 12:33pm "));

    // The source is asked each time: a ticking test clock.
    QDateTime t = fixed;
    store::SetClock([&t] { return t; });
    t = t.addSecs(1);
    QCOMPARE(store::CurrentDateTime(), fixed.addSecs(1));
    QCOMPARE(HhNnSs(store::CurrentDateValue()), QStringLiteral("12:33:51"));
}

void TestFormats::clockDropsMilliseconds() {
    store::SetClock([] { return QDateTime(QDate(2014, 3, 7), QTime(8, 15, 2, 999)); });
    QCOMPARE(store::CurrentDateTime(), QDateTime(QDate(2014, 3, 7), QTime(8, 15, 2)));
    QCOMPARE(store::CurrentDateTime().time().msec(), 0);
    QVERIFY(Same(store::CurrentDateValue(), Value(2014, 3, 7, 8, 15, 2)));
    QCOMPARE(MmDdYyyy(store::CurrentDateValue()) + QStringLiteral(" at ") +
                 HhNnSs(store::CurrentDateValue()),
             QStringLiteral("03/07/2014 at 08:15:02"));
}

void TestFormats::clockEmptySourceRestoresSystemClock() {
    store::SetClock([] { return QDateTime(QDate(2005, 3, 1), QTime(12, 0)); });
    store::SetClock({});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime now = store::CurrentDateTime();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    QVERIFY(now >= before && now <= after);
    QCOMPARE(now.time().msec(), 0);
    QCOMPARE(now.timeSpec(), Qt::LocalTime);
    const double value = store::CurrentDateValue();
    QVERIFY(std::fabs(value - DateValue(QDateTime::currentDateTime())) < 5.0 / 86400);
}

void TestFormats::clockInvalidSource() {
    store::SetClock([] { return QDateTime(); });
    QVERIFY(!store::CurrentDateTime().isValid());
    QVERIFY(std::isnan(store::CurrentDateValue()));
    QCOMPARE(MmDdYyyy(store::CurrentDateValue()), QString());
}

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
