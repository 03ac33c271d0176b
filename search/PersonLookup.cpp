#include "search/PersonLookup.h"

#include "store/PersonTraining.h"

#include <algorithm>
#include <bit>

namespace search {

namespace {
std::size_t Slot(qint64 second, std::size_t mask) {
    // Stamps a second or a minute apart must not crowd into neighbouring slots.
    return std::size_t((quint64(second) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}
} // namespace

PersonLookup::PersonLookup(std::span<const double> identities) : next_(identities.size(), -1) {
    const std::size_t slotCount = std::bit_ceil(std::max<std::size_t>(16, identities.size() * 2));
    seconds_.assign(slotCount, 0);
    firstOf_.assign(slotCount, -1);
    mask_ = slotCount - 1;
    for (std::size_t i = identities.size(); i-- > 0;) {
        if (const std::optional<qint64> second = store::KeySecond(identities[i]))
            Insert(*second, int(i));
        else
            unnamed_.emplace_back(identities[i], int(i));
    }
    std::stable_sort(unnamed_.begin(), unnamed_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // Equal identities without a second are chained like those of one second.
    for (std::size_t k = 1; k < unnamed_.size(); ++k) {
        if (unnamed_[k].first == unnamed_[k - 1].first)
            next_[std::size_t(unnamed_[k - 1].second)] = unnamed_[k].second;
    }
}

void PersonLookup::Insert(qint64 second, int person) {
    std::size_t slot = Slot(second, mask_);
    while (firstOf_[slot] >= 0 && seconds_[slot] != second)
        slot = (slot + 1) & mask_;
    if (firstOf_[slot] >= 0)
        next_[std::size_t(person)] = firstOf_[slot];
    seconds_[slot] = second;
    firstOf_[slot] = person;
}

int PersonLookup::First(double personKey) const {
    if (const std::optional<qint64> second = store::KeySecond(personKey)) {
        for (std::size_t slot = Slot(*second, mask_); firstOf_[slot] >= 0;
             slot = (slot + 1) & mask_) {
            if (seconds_[slot] == *second)
                return firstOf_[slot];
        }
        return -1;
    }
    // NaN equals nothing; an out-of-range value only itself.
    const auto found =
        std::lower_bound(unnamed_.begin(), unnamed_.end(), personKey,
                         [](const auto& entry, double key) { return entry.first < key; });
    return found != unnamed_.end() && found->first == personKey ? found->second : -1;
}

} // namespace search
