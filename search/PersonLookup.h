#pragma once

#include <QtGlobal>
#include <span>
#include <utility>
#include <vector>

namespace search {

// From a training record's PersonKey to the shown persons it belongs to, by the one rule of
// the store (BelongsToPerson): the same value, or the same whole second. Built once for the
// persons a list shows, it answers each of millions of records with one probe of a table the
// size of the list, instead of one comparison per person.
class PersonLookup {
public:
    // `identities[i]` is the DateCreated of person i.
    explicit PersonLookup(std::span<const double> identities);

    // Calls `visit(i)` for every person i the record with `personKey` belongs to; persons
    // sharing one identity (saved elsewhere within one second) all get it.
    template <class Visit> void ForEachOwner(double personKey, Visit&& visit) const {
        for (int i = First(personKey); i >= 0; i = next_[std::size_t(i)])
            visit(i);
    }

private:
    int First(double personKey) const;
    void Insert(qint64 second, int person);

    // Open addressing on the whole second: slots hold a second and the first person of that
    // second; further persons of the same second follow in next_.
    struct Slot {
        qint64 second = 0;
        int first = -1; // -1: empty
    };
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::vector<int> next_; // per person: the next person of the same identity, -1 at the end
    // Persons whose identity names no second (out of the calendar's range): equal values only.
    std::vector<std::pair<double, int>> unnamed_;
};

} // namespace search
