#pragma once

#include "store/PersonTraining.h"

#include <QtGlobal>
#include <optional>
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
        for (int i = First(personKey); i >= 0; i = Next(i))
            visit(i);
    }

    // The same in steps: the first person of the key (-1: none), then each next one (-1 after
    // the last).
    int First(double personKey) const;
    int Next(int person) const { return next_[std::size_t(person)]; }

    // Asks for the table place of the key ahead of First. With tens of thousands of persons
    // the table outgrows the processor's nearer caches, and each look-up waits for memory;
    // a pass that asks for a batch of keys before looking any of them up waits once a batch.
    void Prefetch(double personKey) const {
        if (const std::optional<qint64> second = store::KeySecond(personKey))
            __builtin_prefetch(&slots_[SlotOf(*second, mask_)]);
    }

private:
    static std::size_t SlotOf(qint64 second, std::size_t mask) {
        // Stamps a second or a minute apart must not crowd into neighbouring slots.
        return std::size_t((quint64(second) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    }
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
