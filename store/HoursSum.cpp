#include "store/HoursSum.h"

#include "store/Formats.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace store {

namespace {

__extension__ typedef __int128 Wide;

// A value as digits times a power of ten: 1.2 is 12 x 10^-1.
struct Decimal {
    qint64 digits = 0; // at most nine digits: a single's shortest text has no more
    int exponent = 0;
};

Decimal ShortestDecimal(float value) {
    // Whole numbers below 2^24 are exactly their own shortest text; most hours are.
    if (value == std::trunc(value) && std::fabs(value) < 16777216.0f)
        return {qint64(value), 0};
    // The rest are worked out once per distinct value: a year's records hold a few hundred
    // values (the courses' hours) many times over. One thread reads the files.
    struct Entry {
        quint32 bits = 0xFFFFFFFF; // a NaN's bits: never asked for
        Decimal decimal;
    };
    thread_local std::array<Entry, 256> cache;
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Entry& entry = cache[(bits ^ (bits >> 11) ^ (bits >> 23)) & 0xFF];
    if (entry.bits == bits)
        return entry.decimal;

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
    entry = {bits, decimal};
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

void HoursSum::Add(float hours) {
    if (!std::isfinite(hours))
        return;
    const Decimal d = ShortestDecimal(hours);
    // Up to 2^31 records of less than 10^28 billionths each stay far below 2^127.
    if (d.exponent >= -kScale && d.exponent <= 10) {
        billionths_ += Wide(d.digits) * PowerOfTen(d.exponent + kScale);
        return;
    }
    for (auto& [exponent, sum] : others_) {
        if (exponent == d.exponent) {
            sum += d.digits; // below 10^9 each: 2^31 of them fit
            return;
        }
    }
    others_.emplace_back(d.exponent, d.digits);
}

void HoursSum::Add(const HoursSum& other) {
    billionths_ += other.billionths_;
    for (const auto& [exponent, sum] : other.others_) {
        bool merged = false;
        for (auto& [mine, mySum] : others_) {
            if (mine == exponent) {
                mySum += sum;
                merged = true;
            }
        }
        if (!merged)
            others_.emplace_back(exponent, sum);
    }
}

QString HoursSum::Text() const {
    std::array<qint64, kPlaces> places{};
    AddAt(places, billionths_, -kScale);
    for (const auto& [exponent, sum] : others_)
        AddAt(places, sum, exponent);
    // Carry into digits 0 to 9; what is left over at the top is the sign. A negative sum is
    // carried again with its signs turned, to give the digits of its magnitude.
    const auto carry = [](std::array<qint64, kPlaces>& digits) {
        qint64 over = 0;
        for (qint64& digit : digits) {
            digit += over;
            over = digit >= 0 ? digit / 10 : -((9 - digit) / 10);
            digit -= over * 10;
        }
        return over;
    };
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
