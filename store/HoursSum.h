#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>

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
    HoursSum();
    HoursSum(const HoursSum& other);
    HoursSum& operator=(const HoursSum& other);
    HoursSum(HoursSum&&) noexcept;
    HoursSum& operator=(HoursSum&&) noexcept;
    ~HoursSum();

    // NaN and infinite hours count nothing (they show as nothing).
    void Add(float hours);
    void Add(const HoursSum& other);
    // The sum in the general number text (formats::DoubleText): 6.88, 5782.08, 12.5, 0.
    QString Text() const;
    // Whether the exact sum is less than `hours` taken as its shortest decimal, as Add takes
    // it: 23.99 is below 24, and 8 x 3 is not.
    bool Below(float hours) const;

private:
    // Nearly every value is a decimal with at most nine places, and nearly every sum of them
    // stays below 2^63 billionths: those are added in the one number, and the summary keeps
    // one such sum per person in 16 bytes, so that the sums of 32,767 persons fit the
    // processor's nearer cache. The rest (1E-12, 3E+38, sums past 9.2 billion hours) are kept
    // aside, exactly.
    struct Rest;
    Rest& Aside();
    // -1, 0 or 1 as the exact sum is below, at or above zero.
    int Sign() const;
    qint64 billionths_ = 0;
    std::unique_ptr<Rest> rest_;
};

} // namespace store
