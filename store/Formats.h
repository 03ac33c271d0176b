#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// Value formats: how dates, hours and percentages are turned into text and back. Every
// window and the mirtavel-data tool format values through these functions, so each rule
// lives in one place.
namespace formats {

// ---- Date values ----------------------------------------------------------------------
// A date value counts days since 30 December 1899 00:00; the fraction is the time of day.
// Values are naive local date-times: no time zone, no daylight-saving shifts.
// Before the base date the whole part is negative and the fraction still counts forward
// from midnight (-1.25 is 29 December 1899 06:00), as the old files have it.
// The range is the old platform's: years 100 to 9999. A value is rounded to the nearest second
// before it is split, so 23:59:59.6 is midnight of the next day for every function below.
// Out of range, NaN and infinite values give an invalid QDate/QTime/QDateTime and empty texts.
// DateValue gives NaN for an invalid date or one outside the range; an invalid time counts
// as midnight; milliseconds are kept (the program passes whole seconds).
double DateValue(const QDate& date, const QTime& time = QTime(0, 0));
double DateValue(const QDateTime& dateTime); // date and time parts, zone ignored
QDate DatePart(double value);                // invalid QDate for NaN or out-of-range values
QTime TimePart(double value);                // rounded to the nearest second
// Date and time, seconds rounded. The result is marked Qt::UTC only so that every naive time
// (also one that a daylight-saving change skips locally) survives: read its date() and time().
QDateTime DateTimeOf(double value);
// The value rounded to the nearest second, as DateValue(DateTimeOf(value)) computes it: compare
// a stored key with ParseGeneralDate(text) through it when the stored value may have been made
// by another program with a different last bit. NaN when the value is out of range.
double WholeSecondValue(double value);

// The calendar day a value falls on (seconds rounded, as DatePart takes it) as a count of
// days from the base date; none where DatePart gives an invalid date. These numbers compare
// as the dates' "yyyymmdd" numbers do, without making texts: for the loops over every
// training record.
std::optional<qint64> DayNumber(double value);
qint64 DayNumberOf(const QDate& date); // the same for a valid date

// ---- Patterns -------------------------------------------------------------------------
QString MmDdYyyy(double value); // "mm/dd/yyyy"            03/07/2014
QString YyyyMmDd(double value); // "yyyymmdd"              20140307 (for date comparisons)
QString Yyyy(double value);     // "yyyy"                  2014
QString HhNnSs(double value);   // "hh:nn:ss"              08:15:02 (24-hour)
QString
CreatedStamp(double value); // "mm/dd/yyyy hh:mmam/pm " 03/03/2005 02:05pm (with the trailing blank)
// (CreatedStamp: 12 for noon and midnight; seconds never round the minute up.)
// The general date-and-time form: 3/1/2005 12:33:50 PM; a value without a time part gives
// the date alone (3/1/2005), a value without a date part the time alone (12:33:50 PM; the
// value 0 gives 12:00:00 AM). A value between -1 and 0 shows as its positive counterpart.
QString GeneralDate(double value);
// Reads text written by GeneralDate (and anything ParseDate accepts, optionally followed by
// blanks and a time "h:mm[:ss] [AM|PM]", hours 1-12 with the marker, 0-23 without; a time alone
// is on 30 December 1899); converting GeneralDate(v) back gives v for whole-second v.
std::optional<double> ParseGeneralDate(const QString& text);

// ---- Numbers --------------------------------------------------------------------------
// Number patterns round half away from zero on the value's decimal text: 15 significant
// digits, or 7 when a single holds the value exactly and 7 digits name that single (a widened
// single: 0.35f is 0.35, so "###.0" gives .4). A "-" leads a negative result that does not
// round to zero. NaN and infinities give empty text.
QString Hours(double hours);      // "###.0": 8.0, 24.0, .5, 12.5; 0 gives ".0"; 12.25 gives 12.3
QString Percent(double fraction); // "###%": 0.01 -> 1%, 0.5 -> 50%, 1 -> 100%; 0.004 -> "%"
QString ZeroPercent(double fraction); // "0%": 0.25 -> 25%, 0 -> 0%
// The hours as Hours() shows them, counted in whole tenths: 12.25 -> 123, 0.35f -> 4. NaN and
// infinities count 0. (Totals add the stored values exactly instead: store::HoursSum.)
qint64 HoursTenths(double hours);
// The general number text: no trailing zeros, "0" for zero (also -0), "0." before a fraction
// below 1, exponent form "1E+15" / "1E-05" only when the decimal exponent is 15 (7 for a
// single) or more, or below -4.
QString DoubleText(double value); // 15 significant digits, no trailing zeros: 38412.5234953704
QString SingleText(float value);  // 7 significant digits: 12.5, 8, 0.3
// Number patterns of "#" (optional digit), "0" (required digit), one "." and a final "%"
// ("##", "####", "###.0", "0.0#", "###%", "0%"; "#" alone shows nothing for 0, so
// Pattern(0, "##") is empty). Also the named patterns "mm/dd/yyyy", "yyyymmdd", "yyyy",
// "hh:nn:ss", "mm/dd/yyyy hh:mmam/pm " and "general date" (any case). An empty or unknown
// pattern gives DoubleText(value).
QString Pattern(double value, const QString& pattern);

// ---- Reading typed text ---------------------------------------------------------------
// A typed date in US order. Accepts m/d/yyyy, m/d/yy, m-d-yyyy, m.d.yyyy, yyyy-mm-dd,
// "Jun 15 2026", "June 15, 2026", "15-Jun-26", "15 Jun 2026". Two-digit years fall in 1930
// to 2029. Rejects impossible dates (13/45/2026, 02/30/2025) and text. Gives a date value
// without a time part.
// In detail: blanks around the text are ignored. All-number dates use one of "/", "-", "."
// twice (blanks around it allowed); month and day have 1 or 2 digits, the year 1, 2 or 4
// (2 or fewer: 00-29 is 2000-2029, 30-99 is 1930-1999); a first number of 4 digits is the
// year of y-m-d. No day-month swap: 15/06/2026 is rejected. With a month name (full, three
// letters or "Sept", any case) the order is month day year, day month year, or 4-digit year
// month day, separated by blanks, commas, "-", "/" or ".". Not accepted: a date without a
// year, a weekday, a time, years outside 100 to 9999.
std::optional<double> ParseDate(const QString& text);
// The leading number of a text, as the old platform read it: "8 hrs" -> 8, " 12.5x" -> 12.5,
// "abc" -> 0, "" -> 0. Like Val, blanks inside the number are skipped ("1 2" -> 12); sign,
// one point, exponent E or D ("1e2" -> 100). A number too large for a double gives 0. For a
// text that IsNumeric accepts this is its value.
double LeadingNumber(const QString& text);
// Whether the whole text (blanks around it allowed) is a number: "8", " 7.5 ", "-1", "1e2".
// ASCII digits, optional sign, at most one point, at least one digit, optional exponent E/D;
// no thousands separators or currency signs; the number must fit a double.
bool IsNumeric(const QString& text);
// Whether a single-precision field can hold `value`: finite, and no larger than the largest
// single. A double such as 9e99 would be stored as infinity.
bool FitsSingle(double value);

} // namespace formats
