#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <utility>
#include <vector>

namespace store {

// Stored hours as the exact decimal people read: the shortest text that reads back as the
// same 4-byte single ("1.2", "0.25", "8", "-1.5", "1e-45"), the decimals the totals below
// add. Written into `text` (at least kExactHoursChars long); the end of the text is returned.
// NaN and infinities give "nan", "inf" and "-inf".
constexpr int kExactHoursChars = 32;
char* ExactHoursChars(float hours, char* text);
QByteArray ExactHoursText(float hours);

// A total of stored hours, added exactly as people read the hours: each 4-byte value counts
// as its shortest decimal (the single nearest 1.2 is 1.2, 0.25 is 0.25), and those decimals
// are added without any rounding, so 0.25 x 4 + 1.25 + 2.75 + 0.35 + 0.05 + 0.15 + 1.33 is
// 6.88. The annual summary and the training history both total through this type, so one
// person's hours read the same in both.
class HoursSum {
public:
    // NaN and infinite hours count nothing (they show as nothing).
    void Add(float hours);
    void Add(const HoursSum& other);
    // The sum in the general number text (formats::DoubleText): 6.88, 5782.08, 12.5, 0.
    QString Text() const;

private:
    // Nearly every value is a decimal with at most nine places of no more than twenty digits
    // in all: those add up in billionths. The few others (1E-12, 3E+38) are kept as their
    // digits per decimal exponent.
    static constexpr int kScale = 9;
    __extension__ typedef __int128 Wide; // GCC and Clang: 2^127 holds any sum of billionths
    Wide billionths_ = 0;
    std::vector<std::pair<int, qint64>> others_; // exponent, sum of the digits
};

} // namespace store
