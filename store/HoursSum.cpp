#include "store/HoursSum.h"

#include "store/Formats.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace store {

namespace {

__extension__ typedef __int128 Wide;

// A value as digits times a power of ten: 1.2 is 12 x 10^-1.
struct Decimal {
    qint64 digits = 0; // at most nine digits: a single's shortest text has no more
    int exponent = 0;
};

// The shortest text that reads back as the same single ("1.2", "0.25", "1e-45") as digits
// and exponent.
Decimal ShortestDecimal(float value) {
    char text[kExactHoursChars];
    const char* const end = ExactHoursChars(value, text);
    Decimal decimal;
    bool negative = false;
    bool inFraction = false;
    for (const char* c = text; c < end; ++c) {
        if (*c == '-') {
            negative = true;
        } else if (*c == '.') {
            inFraction = true;
        } else if (*c == 'e') {
            int power = 0;
            std::from_chars(c + 1 + (c[1] == '+'), end, power);
            decimal.exponent += power;
            break;
        } else {
            decimal.digits = decimal.digits * 10 + (*c - '0');
            decimal.exponent -= inFraction ? 1 : 0;
        }
    }
    if (negative)
        decimal.digits = -decimal.digits;
    return decimal;
}

Wide PowerOfTen(int n) {
    static const std::array<Wide, 39> powers = [] {
        std::array<Wide, 39> p{};
        p[0] = 1;
        for (std::size_t i = 1; i < p.size(); ++i)
            p[i] = p[i - 1] * 10;
        return p;
    }();
    return powers[std::size_t(n)];
}

constexpr int kScale = 9; // billionths

// A finite value as a sum adds it: its decimal and, for nearly every value, the same as a
// whole number of billionths below 2^63 in size.
struct Term {
    Decimal decimal;
    qint64 billionths = 0;
    bool inBillionths = false;
};

Term TermOf(const Decimal& d) {
    Term term{d};
    if (d.exponent >= -kScale && d.exponent <= 10) {
        // At most nine digits times at most 10^19: below 2^127.
        const Wide billionths = Wide(d.digits) * PowerOfTen(d.exponent + kScale);
        term.billionths = qint64(billionths);
        term.inBillionths = Wide(term.billionths) == billionths;
    }
    return term;
}

// Whole numbers below 2^24 are exactly their own shortest text, and most hours are; the rest
// are worked out once per distinct value, for a year's records hold a few hundred values (the
// courses' hours) many times over. One thread reads the files.
Term TermOf(float value) {
    if (value == std::trunc(value) && std::fabs(value) < 16777216.0f) {
        const qint64 whole = qint64(value);
        return {{whole, 0}, whole * 1000000000, true};
    }
    struct Entry {
        quint32 bits = 0xFFFFFFFF; // a NaN's bits: never asked for
        Term term;
    };
    thread_local std::array<Entry, 1024> cache;
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Entry& entry = cache[(bits * 0x9E3779B1u) >> 22]; // the top ten bits of a mixed product
    if (entry.bits != bits)
        entry = {bits, TermOf(ShortestDecimal(value))};
    return entry.term;
}

// An exact decimal as signed digits per power of ten, from 10^kLowest up; carried into plain
// digits at the end.
constexpr int kLowest = -80;
constexpr int kPlaces = 160;

void AddAt(std::array<qint64, kPlaces>& places, Wide value, int exponent) {
    for (int at = exponent - kLowest; value != 0 && at < kPlaces; ++at) {
        places[std::size_t(at)] += qint64(value % 10); // the sign goes with every digit
        value /= 10;
    }
}

} // namespace

char* ExactHoursChars(float hours, char* text) {
    return std::to_chars(text, text + kExactHoursChars, hours).ptr;
}

QByteArray ExactHoursText(float hours) {
    char text[kExactHoursChars];
    return QByteArray(text, ExactHoursChars(hours, text) - text);
}

// What a sum keeps besides its billionths below 2^63.
struct HoursSum::Rest {
    // GCC and Clang: 2^127 holds any sum of billionths of up to 2^31 records.
    Wide billionths = 0;
    std::vector<std::pair<int, qint64>> others; // exponent, sum of the digits
};

HoursSum::HoursSum(const HoursSum& other)
    : billionths_(other.billionths_),
      rest_(other.rest_ ? std::make_unique<Rest>(*other.rest_) : nullptr) {}

HoursSum& HoursSum::operator=(const HoursSum& other) {
    if (this != &other)
        *this = HoursSum(other);
    return *this;
}

HoursSum::HoursSum() = default;
HoursSum::HoursSum(HoursSum&&) noexcept = default;
HoursSum& HoursSum::operator=(HoursSum&&) noexcept = default;
HoursSum::~HoursSum() = default;

HoursSum::Rest& HoursSum::Aside() {
    if (!rest_)
        rest_ = std::make_unique<Rest>();
    return *rest_;
}

void HoursSum::Add(float hours) {
    if (!std::isfinite(hours))
        return;
    const Term term = TermOf(hours);
    qint64 sum = 0;
    if (term.inBillionths && !__builtin_add_overflow(billionths_, term.billionths, &sum)) {
        billionths_ = sum;
        return;
    }
    const Decimal& d = term.decimal;
    // Up to 2^31 records of less than 10^28 billionths each stay far below 2^127.
    if (d.exponent >= -kScale && d.exponent <= 10) {
        Aside().billionths += Wide(d.digits) * PowerOfTen(d.exponent + kScale);
        return;
    }
    for (auto& [exponent, digits] : Aside().others) {
        if (exponent == d.exponent) {
            digits += d.digits; // below 10^9 each: 2^31 of them fit
            return;
        }
    }
    rest_->others.emplace_back(d.exponent, d.digits);
}

void HoursSum::Add(const HoursSum& other) {
    qint64 sum = 0;
    if (!__builtin_add_overflow(billionths_, other.billionths_, &sum))
        billionths_ = sum;
    else
        Aside().billionths += other.billionths_;
    if (!other.rest_)
        return;
    Rest& rest = Aside();
    rest.billionths += other.rest_->billionths;
    for (const auto& [exponent, digits] : other.rest_->others) {
        bool merged = false;
        for (auto& [mine, mySum] : rest.others) {
            if (mine == exponent) {
                mySum += digits;
                merged = true;
            }
        }
        if (!merged)
            rest.others.emplace_back(exponent, digits);
    }
}

namespace {
using Places = std::array<qint64, kPlaces>;

// Carries signed digits into digits 0 to 9; what is left over at the top is the sign.
qint64 Carry(Places& digits) {
    qint64 over = 0;
    for (qint64& digit : digits) {
        digit += over;
        over = digit >= 0 ? digit / 10 : -((9 - digit) / 10);
        digit -= over * 10;
    }
    return over;
}
} // namespace

bool HoursSum::Below(float hours) const {
    if (!std::isfinite(hours))
        return false;
    const Term term = TermOf(hours);
    if (!rest_ && term.inBillionths)
        return billionths_ < term.billionths;
    HoursSum difference = *this;
    difference.Add(-hours);
    return difference.Sign() < 0;
}

int HoursSum::Sign() const {
    Places places{};
    AddAt(places, Wide(billionths_) + (rest_ ? rest_->billionths : 0), -kScale);
    if (rest_) {
        for (const auto& [exponent, sum] : rest_->others)
            AddAt(places, sum, exponent);
    }
    if (Carry(places) < 0)
        return -1;
    return std::any_of(places.begin(), places.end(), [](qint64 d) { return d != 0; }) ? 1 : 0;
}

QString HoursSum::Text() const {
    Places places{};
    AddAt(places, Wide(billionths_) + (rest_ ? rest_->billionths : 0), -kScale);
    if (rest_) {
        for (const auto& [exponent, sum] : rest_->others)
            AddAt(places, sum, exponent);
    }
    // A negative sum is carried again with its signs turned, to give the digits of its
    // magnitude.
    const auto carry = Carry;
    std::array<qint64, kPlaces> magnitude = places;
    const bool negative = carry(magnitude) < 0;
    if (negative) {
        magnitude = places;
        for (qint64& digit : magnitude)
            digit = -digit;
        carry(magnitude);
    }
    places = magnitude;
    int top = kPlaces - 1;
    while (top >= 0 && places[std::size_t(top)] == 0)
        --top;
    if (top < 0)
        return formats::DoubleText(0);
    // Fifteen significant digits, the half rounded away from zero, as the general number text
    // shows any number; a double holds those fifteen digits exactly as they are.
    const int last = std::max(top - 14, 0);
    QByteArray kept;
    for (int at = top; at >= last; --at)
        kept += char('0' + places[std::size_t(at)]);
    int exponent = top + 1 + kLowest; // the value is 0.kept x 10^exponent
    if (last > 0 && places[std::size_t(last - 1)] >= 5) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i < 0) {
            kept.prepend('1');
            ++exponent;
        } else {
            ++kept[i];
        }
    }
    const double value =
        (QByteArray(negative ? "-0." : "0.") + kept + 'e' + QByteArray::number(exponent))
            .toDouble();
    return formats::DoubleText(value);
}

} // namespace store
