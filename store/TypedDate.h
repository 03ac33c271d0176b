#pragma once

#include <QDate>
#include <QString>
#include <optional>

// What a typed training date means before it is stored: a date the program reads, a day and
// month without a year taken as this year, and whether the date is plausible for training
// (from 1955, the summary's first year, to the end of next year) or should be questioned.
// The credit window asks about a date that is not; an import turns such a row down.
namespace store {

struct TypedDate {
    double value = 0;       // the date as stored
    QDate date;             // the same date
    bool yearAdded = false; // typed without a year ("6/15"): this year was taken
    bool plausible = true;  // within 1955 and the end of next year
};

// Nothing when the text is no date.
std::optional<TypedDate> ReadTypedDate(const QString& text, const QDate& today);

} // namespace store
