#pragma once

#include "store/StoreResult.h"

#include <QDate>
#include <QString>
#include <map>

// What the department asks of its personnel's training, beside the legacy files: the hours
// each person should complete in a year, and for each course how long a credit lasts and
// whether every active person must hold it. The legacy files have no room for these, and
// older programs must go on reading them unchanged, so they live in a small text file of our
// own in the data folder ("Training.Rules"), which older programs do not know and leave alone.
// A data set without the file simply has no rules.
namespace store {

inline const QString TrainingRulesFileName = QStringLiteral("Training.Rules");

// Far more than the rules of 32,767 courses take; anything larger is not the rules file.
constexpr qint64 MaxTrainingRulesBytes = 4 * 1024 * 1024;

// The longest renewal period a course may have, in months.
constexpr int kMaxRenewalMonths = 120;

struct CourseRule {
    int months = 0;        // renewal period; 0: a credit never expires
    bool required = false; // required for all active persons
    bool IsEmpty() const { return months == 0 && !required; }
    bool operator==(const CourseRule&) const = default;
};

struct TrainingRules {
    // Hours each person should complete in a calendar year; 0: no requirement. Kept as a
    // single like the courses' hours, so that it compares exactly with their totals.
    float requiredHours = 0;
    // By the course's identity (its DateCreated, compared exactly). A course that is no
    // longer on file is never asked for, so its rule is ignored.
    std::map<double, CourseRule> courses;

    bool HasRequiredHours() const { return requiredHours > 0; }
    CourseRule RuleOf(double courseKey) const;
    // An empty rule removes the course's entry.
    void SetRule(double courseKey, const CourseRule& rule);
    bool operator==(const TrainingRules&) const = default;
};

// Reads the rules of the data folder (or of `folder`). No file gives no rules; a file that is
// not whole or not ours fails, naming it.
StoreResult ReadTrainingRules(TrainingRules& rules, const QString& folder = QStringLiteral("."));
// Replaces the rules file all or nothing: a copy is written beside it, made durable and
// renamed over it, so a stop at any moment leaves either the former rules or the new ones.
// Rules with nothing in them leave no file (or remove the one there).
StoreResult WriteTrainingRules(const TrainingRules& rules,
                               const QString& folder = QStringLiteral("."));

// When a credit of `lastCredit` falls due under a renewal period of `months`: the same day
// that many months later, the month's last day where that month is shorter (12 months from
// 31 January 2025 is 31 January 2026, one month is 28 February 2025). An invalid date when the
// credit never expires (months 0) or the date is invalid.
QDate DueDate(const QDate& lastCredit, int months);
// The same from a stored date value.
QDate DueDate(double lastCredit, int months);

} // namespace store
