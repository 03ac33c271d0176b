#pragma once

#include "search/ProgressReport.h"
#include "store/HoursSum.h"
#include "store/StoreResult.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The search for persons by their training records and the yearly total of their hours: one
// sequential pass over Training.Records for all the persons a list shows, however many. No
// windows here; the Lobby's search pages show what these find.
//
// Persons are given by their identities (DateCreated) in the order the list shows them, and
// results name them by their position in that order. A record belongs to a person by the
// store's one rule (BelongsToPerson).
namespace search {

// What a record must satisfy. No dates and empty texts are satisfied by every record.
struct Criteria {
    // The first and last day (DayNumber), both or neither; the time of day plays no part.
    std::optional<qint64> fromDay;
    std::optional<qint64> toDay;
    QString code;    // found anywhere in the course code, ignoring case; trimmed
    QString comment; // found anywhere in the comments, ignoring case; trimmed
    // Found anywhere in the record's own copy of the course name, ignoring case; trimmed.
    QString courseName;
    // True: the persons with at least one record satisfying all the criteria. False: the
    // persons with none (also those without any record).
    bool listMatching = true;
};

// The positions (from 0) of the listed persons, in the order given.
store::StoreResult FindPersons(std::span<const double> persons, const Criteria& criteria,
                               std::vector<int>& listed, const Progress& progress = {});

// One person's training in a year: the hours summed exactly as the records show them.
struct YearTotal {
    int person = 0; // position in the order given
    store::HoursSum hours;
};

// Whom a summary lists. By default the persons with at least one record in the year.
struct SummaryChoice {
    bool withoutTraining = false; // also those without any, at 0 hours
    float required = 0;           // the hours each person should reach in a year; 0: none
    bool onlyBelow = false;       // only the persons below `required` (when there is one)
};

struct YearSummary {
    std::vector<YearTotal> rows; // the persons listed, in order
    store::HoursSum total;       // of the persons listed
    int summarised = 0;          // persons listed before the choice of those below
    int below = 0;               // of those, the persons below the required hours
};

// Sums the hours of every record dated in `year` per person. Exact: 100 records of 1.2
// hours make 120, and 0.25 counts as 0.25, as a user adding up the stored values finds.
// The choice picks the rows from the same pass.
store::StoreResult SumYear(std::span<const double> persons, int year, YearSummary& summary,
                           const Progress& progress = {}, const SummaryChoice& choice = {});

// The characters of the criteria's code, course name and comment texts that no record can
// hold (the files' code page has them in no case), each once, in the order typed: "Ω" for
// "Ωmega", "日本" for "日本". A criterion with any of them matches no record. Empty when there
// are none.
QString UnstorableCharacters(const Criteria& criteria);

} // namespace search
