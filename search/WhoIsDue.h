#pragma once

#include "forms/LobbyDoor.h"
#include "search/TrainingSearch.h"
#include "store/StoreResult.h"
#include "store/TrainingRules.h"

#include <QDate>
#include <QString>
#include <optional>
#include <span>
#include <vector>

// Who is due for training: the persons whose latest credit of a course that must be renewed
// has run out or runs out soon, and the active persons who never had a course that every
// active person must hold (the rules of the data folder, store/TrainingRules.h). No windows
// here; the Lobby's "Who is Due" page shows what these find.
//
// Persons are given in the order the Name List shows them and are named by their position in
// that order, as in the search.
namespace search {

// A course with a rule, as Course.Index holds it now: its own code and name, whatever copies
// older credits keep.
struct DueCourse {
    double identity = 0; // DateCreated
    QString code;
    QString name;
    store::CourseRule rule;
};

// The latest credit of every person given in every course with a rule.
struct LatestCredits {
    std::vector<DueCourse> courses; // by code, then name
    std::size_t persons = 0;
    // Per person, one date value per course; NaN where the person was never credited.
    std::vector<double> latest;

    std::optional<double> Latest(std::size_t person, std::size_t course) const;
};

// Reads the rules, the courses they name that are on file, and then Training.Records in one
// pass, keeping per person and course the latest training date (a later credit replaces an
// earlier one, whatever their order in the file). A record names its person by the store's
// rule (BelongsToPerson) and its course as a course's update finds it (CourseKeyMatch); a
// record marked for removal credits nothing. No rules, no such course or no records: nobody
// was credited, which is no failure.
store::StoreResult ReadLatestCredits(std::span<const double> persons, LatestCredits& credits,
                                     const Progress& progress = {});

struct DueQuery {
    QDate date;           // the day asked about
    int windowDays = 60;  // credits running out up to this many days after `date` are listed
    QString organization; // found anywhere in the person's organization, any case; trimmed
    QString course;       // found anywhere in the course's code or name, any case; trimmed
};

struct DueRow {
    int person = 0;      // position in the persons given
    int course = 0;      // in LatestCredits::courses
    QDate last;          // the latest credit; invalid when never taken
    QDate due;           // when it runs out; invalid when never taken
    qint64 daysLeft = 0; // from the query's date to `due`; negative: overdue by so many days
    bool NeverTaken() const { return !last.isValid(); }
};

// Who is due on the query's date: every person given whose latest credit of a course with a
// renewal period runs out on or before the window's last day (already run out included),
// and every active person given without any credit of a course required for all active
// persons. The renewal period is the course's rule now, however long it was when credited.
// Sorted by due date, soonest first, the never taken before all others (they hold nothing
// that could still be valid); rows of one date keep the persons' order, then the courses'.
std::vector<DueRow> WhoIsDue(const LatestCredits& credits, std::span<const PersonRow> persons,
                             const DueQuery& query);

} // namespace search
