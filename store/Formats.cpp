#include "store/Formats.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTimeZone>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace formats {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
// The old platform's date range: 1 January 100 (-657434) to 31 December 9999 (2958465).
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;

const QDate& BaseDate() {
    static const QDate base(1899, 12, 30);
    return base;
}

bool YearInRange(int year) {
    return year >= kFirstYear && year <= kLastYear;
}

// A date value split into its day, counted from the base date, and its time of day in whole
// seconds (rounded to the nearest second; 24:00:00 carries into the next day). None outside
// the calendar's range.
struct DaySplit {
    qint64 days = 0;
    int seconds = 0; // 0 .. 86399
};

std::optional<DaySplit> SplitDays(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    if (whole < kFirstDay - 1 || whole > kLastDay + 1) // coarse guard before the integer cast
        return std::nullopt;
    // Both signs: the fraction counts forward from midnight of the day named by the whole part.
    const double fraction = std::fabs(value - whole); // exact: no rounding in this subtraction
    qint64 days = static_cast<qint64>(whole);
    qint64 seconds = std::llround(fraction * static_cast<double>(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        days += 1;
        seconds -= kSecondsPerDay;
    }
    // The range's first and last days are 1 January 100 and 31 December 9999.
    if (days < static_cast<qint64>(kFirstDay) || days > static_cast<qint64>(kLastDay))
        return std::nullopt;
    return DaySplit{days, static_cast<int>(seconds)};
}

// The same with the calendar day as a date.
struct Split {
    QDate date;
    int seconds = 0; // 0 .. 86399
};

std::optional<Split> SplitValue(double value) {
    const std::optional<DaySplit> split = SplitDays(value);
    if (!split)
        return std::nullopt;
    return Split{BaseDate().addDays(split->days), split->seconds};
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
QString FourDigits(int n) {
    return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

// Appends n in decimal, at least `width` digits with leading zeros. The grids format one
// date per row, so these texts are built without the allocations of arg() chains.
void AppendNumber(QString& out, int n, int width) {
    char digits[12];
    int len = 0;
    do {
        digits[len++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
    for (int i = len; i < width; ++i)
        out += QLatin1Char('0');
    while (len > 0)
        out += QLatin1Char(digits[--len]);
}

// "3:05:09 PM": the time part of the general date form.
void AppendGeneralTime(QString& out, int seconds) {
    const int hour = seconds / 3600;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    AppendNumber(out, hour12, 1);
    out += QLatin1Char(':');
    AppendNumber(out, seconds / 60 % 60, 2);
    out += QLatin1Char(':');
    AppendNumber(out, seconds % 60, 2);
    out += hour < 12 ? QLatin1String(" AM") : QLatin1String(" PM");
}

// ---- Decimal rounding ------------------------------------------------------------------

// How many significant digits stand for a value: a value that a single-precision number holds
// exactly and whose 7-digit text reads back as that same single is read with a single's 7
// digits (the hours fields are singles: 0.35 stored as a single is 0.3499999940..., and the old
// platform formats it as 0.35); anything else with a double's 15 (16777218, which a single
// holds but 7 digits do not name, keeps its 15).
int SignificantDigits(double value) {
    if (std::fabs(value) > static_cast<double>(FLT_MAX))
        return 15;
    const float single = static_cast<float>(value);
    if (static_cast<double>(single) != value)
        return 15;
    bool ok = false;
    const float back = QString::number(value, 'g', 7).toFloat(&ok);
    return ok && back == single ? 7 : 15;
}

// The magnitude of a finite value as decimal digits: value = 0.d1d2d3... x 10^point, that is,
// `point` digits stand before the decimal point (point may be 0 or negative, or exceed the
// number of digits). The digits are the value's text with `significant` digits.
struct Decimal {
    QString digits;
    int point = 0;
};

Decimal ToDecimal(double value, int significant) {
    // "1.23450000000000e+01": mantissa digits and exponent, locale-independent.
    const QString text = QString::number(std::fabs(value), 'e', significant - 1);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    Decimal decimal;
    decimal.digits = text.left(e);
    decimal.digits.remove(QLatin1Char('.'));
    decimal.point = text.mid(e + 1).toInt() + 1;
    return decimal;
}

// The decimal rounded half away from zero to `decimals` places: integer digits without leading
// zeros (empty for 0) and exactly `decimals` fraction digits.
struct Rounded {
    QString integer;
    QString fraction;
    bool IsZero() const {
        return integer.isEmpty() && fraction.count(QLatin1Char('0')) == fraction.size();
    }
};

Rounded RoundDecimal(Decimal decimal, int decimals) {
    const int keep = decimal.point + decimals; // digits kept from the front
    Rounded rounded;
    if (keep < 0) {
        rounded.fraction = QString(decimals, QLatin1Char('0'));
        return rounded;
    }
    QString kept = decimal.digits.left(keep);
    if (kept.size() < keep)
        kept += QString(keep - kept.size(), QLatin1Char('0'));
    const bool up = keep < decimal.digits.size() && decimal.digits.at(keep) >= QLatin1Char('5');
    if (up) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == QLatin1Char('9')) {
            kept[i] = QLatin1Char('0');
            --i;
        }
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(QLatin1Char('1'));
            decimal.point += 1;
        }
    }
    if (decimal.point > 0) {
        rounded.integer = kept.left(decimal.point);
        rounded.fraction = kept.mid(decimal.point);
    } else {
        rounded.fraction = QString(-decimal.point, QLatin1Char('0')) + kept;
    }
    qsizetype zeros = 0;
    while (zeros < rounded.integer.size() && rounded.integer.at(zeros) == QLatin1Char('0'))
        ++zeros;
    rounded.integer.remove(0, zeros);
    return rounded;
}

// A number pattern of the old platform's Format: digit placeholders "#" (optional) and "0"
// (required), an optional "." with its decimal placeholders, and an optional "%" at the end.
struct NumberPattern {
    int integerZeros = 0; // "0"s before the point: the minimum number of integer digits
    int decimals = 0;     // placeholders after the point
    int decimalZeros = 0; // of which "0": decimals always shown
    bool percent = false;
};

std::optional<NumberPattern> ReadNumberPattern(const QString& pattern) {
    static const QRegularExpression form(QStringLiteral("^([#0]*)(?:\\.([#0]*))?(%?)$"));
    const QRegularExpressionMatch match = form.match(pattern);
    if (!match.hasMatch() || pattern.isEmpty())
        return std::nullopt;
    NumberPattern p;
    p.integerZeros = static_cast<int>(match.captured(1).count(QLatin1Char('0')));
    const QString decimals = match.captured(2);
    p.decimals = static_cast<int>(decimals.size());
    // "0.0#": the required decimals are those up to the last "0".
    p.decimalZeros = static_cast<int>(decimals.lastIndexOf(QLatin1Char('0')) + 1);
    p.percent = !match.captured(3).isEmpty();
    return p;
}

QString FormatNumber(double value, const NumberPattern& p) {
    if (!std::isfinite(value))
        return QString();
    Decimal decimal = ToDecimal(value, SignificantDigits(value));
    if (p.percent)
        decimal.point += 2; // times 100, exactly, on the decimal digits
    Rounded rounded = RoundDecimal(decimal, p.decimals);
    const bool negative = value < 0 && !rounded.IsZero();
    QString integer = rounded.integer;
    if (integer.size() < p.integerZeros)
        integer.prepend(QString(p.integerZeros - integer.size(), QLatin1Char('0')));
    QString fraction = rounded.fraction;
    while (fraction.size() > p.decimalZeros && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString text = negative ? QStringLiteral("-") : QString();
    text += integer;
    if (p.decimals > 0) // "#.#" with a whole number keeps its point ("5."), as Format does
        text += QLatin1Char('.') + fraction;
    if (p.percent)
        text += QLatin1Char('%');
    return text;
}

// The platform's general number text: `significant` digits, no trailing zeros, "E+15" form
// for large and small magnitudes.
QString GeneralNumber(double value, int significant) {
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    QString text = QString::number(value, 'g', significant);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

// ---- Reading dates ---------------------------------------------------------------------

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}
bool IsDateSeparator(QChar c) {
    return IsBlank(c) || c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('/') ||
           c == QLatin1Char('.');
}

struct Token {
    enum Kind { Number, Word, Separator } kind;
    QString text;
};

// Splits a date text into numbers, words and separator runs; nothing else may occur.
std::optional<QList<Token>> Tokenize(const QString& text) {
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        Token::Kind kind;
        bool (*same)(QChar);
        if (IsAsciiDigit(c)) {
            kind = Token::Number;
            same = IsAsciiDigit;
        } else if (IsAsciiLetter(c)) {
            kind = Token::Word;
            same = IsAsciiLetter;
        } else if (IsDateSeparator(c)) {
            kind = Token::Separator;
            same = IsDateSeparator;
        } else {
            return std::nullopt;
        }
        const qsizetype start = i;
        while (i < text.size() && same(text.at(i)))
            ++i;
        tokens.append(Token{kind, text.mid(start, i - start)});
    }
    return tokens;
}

// 1 to 12 for a month name ("June"), its three-letter abbreviation ("Jun") or "Sept"; else 0.
int MonthOfName(const QString& word) {
    static const char* const names[] = {"january",   "february", "march",    "april",
                                        "may",       "june",     "july",     "august",
                                        "september", "october",  "november", "december"};
    const QString lower = word.toLower();
    for (int m = 0; m < 12; ++m) {
        const QString name = QLatin1String(names[m]);
        if (lower == name || lower == name.left(3))
            return m + 1;
    }
    return lower == QLatin1String("sept") ? 9 : 0;
}

// A typed year: one or two digits fall in 1930 to 2029, four digits stand as they are.
std::optional<int> YearOf(const QString& digits) {
    const int n = digits.toInt();
    if (digits.size() <= 2)
        return n < 30 ? 2000 + n : 1900 + n;
    if (digits.size() == 4)
        return n;
    return std::nullopt;
}

std::optional<double> DateOf(std::optional<int> year, int month, int day) {
    if (!year || !YearInRange(*year) || !QDate::isValid(*year, month, day))
        return std::nullopt;
    return DateValue(QDate(*year, month, day));
}

// A time "h:mm[:ss] [AM|PM]" as seconds since midnight.
std::optional<int> ParseTime(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?[ \\t]*(?:([AaPp])[Mm])?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const int second = match.captured(3).isEmpty() ? 0 : match.captured(3).toInt();
    const QString marker = match.captured(4).toUpper();
    if (minute > 59 || second > 59)
        return std::nullopt;
    if (marker.isEmpty()) {
        if (hour > 23)
            return std::nullopt;
    } else {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (marker == QLatin1String("P") ? 12 : 0);
    }
    return hour * 3600 + minute * 60 + second;
}

} // namespace

// ---- Date values -----------------------------------------------------------------------

double DateValue(const QDate& date, const QTime& time) {
    if (!date.isValid() || !YearInRange(date.year()))
        return std::numeric_limits<double>::quiet_NaN();
    const double days = static_cast<double>(BaseDate().daysTo(date));
    const qint64 msecs = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    // For whole seconds s this is bit for bit s / 86400.0: both divisions are correctly rounded
    // and the exact quotients are equal.
    const double fraction = static_cast<double>(msecs) / (kSecondsPerDay * 1000.0);
    return days >= 0 ? days + fraction : days - fraction;
}

double DateValue(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return DateValue(dateTime.date(), dateTime.time());
}

QDate DatePart(double value) {
    const std::optional<Split> split = SplitValue(value);
    return split ? split->date : QDate();
}

QTime TimePart(double value) {
    const std::optional<Split> split = SplitValue(value);
    return split ? QTime::fromMSecsSinceStartOfDay(split->seconds * 1000) : QTime();
}

QDateTime DateTimeOf(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return QDateTime();
    const QTime time = QTime::fromMSecsSinceStartOfDay(split->seconds * 1000);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QDateTime(split->date, time, QTimeZone::UTC);
#else
    return QDateTime(split->date, time, Qt::UTC);
#endif
}

double WholeSecondValue(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return std::numeric_limits<double>::quiet_NaN();
    return DateValue(split->date, QTime::fromMSecsSinceStartOfDay(split->seconds * 1000));
}

// ---- Patterns --------------------------------------------------------------------------

QString MmDdYyyy(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return QString();
    // One calendar computation and one text: the change log dates each training record.
    int year = 0;
    int month = 0;
    int day = 0;
    split->date.getDate(&year, &month, &day);
    QString text;
    text.reserve(10);
    AppendNumber(text, month, 2);
    text += QLatin1Char('/');
    AppendNumber(text, day, 2);
    text += QLatin1Char('/');
    AppendNumber(text, year, 4);
    return text;
}

QString YyyyMmDd(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return QString();
    const QDate& d = split->date;
    return FourDigits(d.year()) + TwoDigits(d.month()) + TwoDigits(d.day());
}

QString Yyyy(double value) {
    const std::optional<Split> split = SplitValue(value);
    return split ? FourDigits(split->date.year()) : QString();
}

QString HhNnSs(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return QString();
    const int s = split->seconds;
    return TwoDigits(s / 3600) + QLatin1Char(':') + TwoDigits(s / 60 % 60) + QLatin1Char(':') +
           TwoDigits(s % 60);
}

QString CreatedStamp(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return QString();
    const int hour = split->seconds / 3600;
    const int minute = split->seconds / 60 % 60; // the minute shown, seconds are not rounded up
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return MmDdYyyy(value) + QLatin1Char(' ') + TwoDigits(hour12) + QLatin1Char(':') +
           TwoDigits(minute) + (hour < 12 ? QLatin1String("am ") : QLatin1String("pm "));
}

QString GeneralDate(double value) {
    const std::optional<Split> split = SplitValue(value);
    if (!split)
        return QString();
    const QDate& d = split->date;
    QString text;
    text.reserve(24);
    if (d == BaseDate()) {
        AppendGeneralTime(text, split->seconds);
        return text;
    }
    // The year always has four digits (year 100 is 0100), so the text reads back.
    AppendNumber(text, d.month(), 1);
    text += QLatin1Char('/');
    AppendNumber(text, d.day(), 1);
    text += QLatin1Char('/');
    AppendNumber(text, d.year(), 4);
    if (split->seconds != 0) {
        text += QLatin1Char(' ');
        AppendGeneralTime(text, split->seconds);
    }
    return text;
}

std::optional<double> ParseGeneralDate(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return ParseDate(trimmed);
    // The time begins with the hour digits before the first colon.
    qsizetype start = colon;
    while (start > 0 && IsAsciiDigit(trimmed.at(start - 1)))
        --start;
    if (start == colon || (start > 0 && !IsBlank(trimmed.at(start - 1))))
        return std::nullopt;
    const std::optional<int> seconds = ParseTime(trimmed.mid(start));
    if (!seconds)
        return std::nullopt;
    const QString datePart = trimmed.left(start).trimmed();
    QDate date = BaseDate();
    if (!datePart.isEmpty()) {
        const std::optional<double> day = ParseDate(datePart);
        if (!day)
            return std::nullopt;
        date = DatePart(*day);
    }
    return DateValue(date, QTime::fromMSecsSinceStartOfDay(*seconds * 1000));
}

// ---- Numbers ---------------------------------------------------------------------------

QString Hours(double hours) {
    return Pattern(hours, QStringLiteral("###.0"));
}
QString Percent(double fraction) {
    return Pattern(fraction, QStringLiteral("###%"));
}
QString ZeroPercent(double fraction) {
    return Pattern(fraction, QStringLiteral("0%"));
}
std::optional<qint64> DayNumber(double value) {
    const std::optional<DaySplit> split = SplitDays(value);
    if (!split)
        return std::nullopt;
    return split->days;
}

qint64 DayNumberOf(const QDate& date) {
    return BaseDate().daysTo(date);
}

qint64 HoursTenths(double hours) {
    if (!std::isfinite(hours))
        return 0; // Hours() shows nothing
    // Far from a half tenth, the nearest tenth is what the decimal text rounds to: that text
    // (7 or 15 significant digits) lies within a millionth of the value. Close to a half
    // tenth (0.35f is 0.3499999940...) and for huge values the text decides.
    const double tenths = hours * 10.0;
    const double distance = std::fabs(std::fabs(tenths - std::trunc(tenths)) - 0.5);
    if (std::fabs(tenths) < 1e15 && distance > std::fabs(tenths) * 1e-6 + 1e-9)
        return std::llround(tenths);
    const double shown = LeadingNumber(Hours(hours)) * 10.0;
    return std::llround(std::clamp(shown, -1e17, 1e17));
}

QString DoubleText(double value) {
    return GeneralNumber(value, 15);
}
QString SingleText(float value) {
    return GeneralNumber(static_cast<double>(value), 7);
}

QString Pattern(double value, const QString& pattern) {
    if (pattern.isEmpty())
        return DoubleText(value);
    if (const std::optional<NumberPattern> number = ReadNumberPattern(pattern))
        return FormatNumber(value, *number);
    const QString lower = pattern.toLower();
    if (lower == QLatin1String("mm/dd/yyyy"))
        return MmDdYyyy(value);
    if (lower == QLatin1String("yyyymmdd"))
        return YyyyMmDd(value);
    if (lower == QLatin1String("yyyy"))
        return Yyyy(value);
    if (lower == QLatin1String("hh:nn:ss"))
        return HhNnSs(value);
    if (lower == QLatin1String("mm/dd/yyyy hh:mmam/pm "))
        return CreatedStamp(value);
    if (lower == QLatin1String("mm/dd/yyyy hh:mmam/pm"))
        return CreatedStamp(value).chopped(1);
    if (lower == QLatin1String("general date"))
        return GeneralDate(value);
    return DoubleText(value);
}

// ---- Reading typed text ----------------------------------------------------------------

std::optional<double> ParseDate(const QString& text) {
    const std::optional<QList<Token>> tokens = Tokenize(text.trimmed());
    // Three items with a separator between each: item, separator, item, separator, item.
    if (!tokens || tokens->size() != 5)
        return std::nullopt;
    const QList<Token>& t = *tokens;
    if (t[1].kind != Token::Separator || t[3].kind != Token::Separator)
        return std::nullopt;
    const Token& a = t[0];
    const Token& b = t[2];
    const Token& c = t[4];
    for (const Token* item : {&a, &b, &c}) {
        if (item->kind == Token::Separator)
            return std::nullopt;
        if (item->kind == Token::Number && item->text.size() > 4)
            return std::nullopt;
    }
    const auto isDayOrMonth = [](const Token& x) {
        return x.kind == Token::Number && x.text.size() <= 2;
    };

    if (a.kind == Token::Number && b.kind == Token::Number && c.kind == Token::Number) {
        // All numbers: one of "/", "-", ".", the same twice (blanks around it allowed).
        const QString sep1 = t[1].text.trimmed();
        const QString sep2 = t[3].text.trimmed();
        if (sep1.size() != 1 || sep1 != sep2 || sep1 == QLatin1String(","))
            return std::nullopt;
        if (a.text.size() == 4 && isDayOrMonth(b) && isDayOrMonth(c)) // yyyy-mm-dd
            return DateOf(a.text.toInt(), b.text.toInt(), c.text.toInt());
        if (isDayOrMonth(a) && isDayOrMonth(b)) // m/d/y, US order
            return DateOf(YearOf(c.text), a.text.toInt(), b.text.toInt());
        return std::nullopt;
    }

    // One month name and two numbers, separated by blanks, commas, "-", "/" or ".".
    if (a.kind == Token::Word && b.kind == Token::Number && c.kind == Token::Number) {
        const int month = MonthOfName(a.text); // Jun 15 2026, June 15, 2026
        if (month == 0 || !isDayOrMonth(b))
            return std::nullopt;
        return DateOf(YearOf(c.text), month, b.text.toInt());
    }
    if (a.kind == Token::Number && b.kind == Token::Word && c.kind == Token::Number) {
        const int month = MonthOfName(b.text);
        if (month == 0)
            return std::nullopt;
        if (a.text.size() == 4 && isDayOrMonth(c)) // 2026-Jun-15
            return DateOf(a.text.toInt(), month, c.text.toInt());
        if (isDayOrMonth(a)) // 15-Jun-26, 15 Jun 2026
            return DateOf(YearOf(c.text), month, a.text.toInt());
    }
    return std::nullopt;
}

double LeadingNumber(const QString& text) {
    // As the old platform's Val: blanks, tabs and line breaks are skipped anywhere in the
    // number ("1 2" reads 12); an optional sign, digits with at most one point, and an exponent
    // "E" or "D" with optional sign; the first other character ends the number.
    QByteArray number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && IsBlank(text.at(i)))
            ++i;
    };
    skipBlanks();
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        number += static_cast<char>(text.at(i).unicode());
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (skipBlanks(); i < n; ++i, skipBlanks()) {
        const QChar c = text.at(i);
        if (IsAsciiDigit(c)) {
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
        number += static_cast<char>(c.unicode());
    }
    if (!digits)
        return 0;
    if (i < n && QStringLiteral("eEdD").contains(text.at(i))) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        while (j < n && IsBlank(text.at(j)))
            ++j;
        if (j < n && (text.at(j) == QLatin1Char('-') || text.at(j) == QLatin1Char('+')))
            exponent += static_cast<char>(text.at(j++).unicode());
        bool exponentDigits = false;
        for (; j < n; ++j) {
            if (IsBlank(text.at(j)))
                continue;
            if (!IsAsciiDigit(text.at(j)))
                break;
            exponentDigits = true;
            exponent += static_cast<char>(text.at(j).unicode());
        }
        if (exponentDigits)
            number += exponent;
    }
    bool ok = false;
    const double value = number.toDouble(&ok); // C locale, whatever the user's locale is
    return ok && std::isfinite(value) ? value : 0;
}

bool IsNumeric(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        "^[ \\t\\r\\n]*[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eEdD][+-]?[0-9]+)?[ \\t\\r\\n]*$"));
    if (!form.match(text).hasMatch())
        return false;
    QByteArray number = text.trimmed().toLatin1();
    number.replace('d', 'e').replace('D', 'e');
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool FitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) <= static_cast<double>(FLT_MAX);
}

} // namespace formats
