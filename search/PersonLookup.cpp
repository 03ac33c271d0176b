#include "search/PersonLookup.h"

#include <algorithm>
#include <bit>

namespace search {

PersonLookup::PersonLookup(std::span<const double> identities) : next_(identities.size(), -1) {
    const std::size_t slotCount = std::bit_ceil(std::max<std::size_t>(16, identities.size() * 2));
    slots_.assign(slotCount, Slot{});
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
    std::size_t at = SlotOf(second, mask_);
    while (slots_[at].first >= 0 && slots_[at].second != second)
        at = (at + 1) & mask_;
    next_[std::size_t(person)] = slots_[at].first;
    slots_[at] = Slot{second, person};
}

int PersonLookup::First(double personKey) const {
    if (const std::optional<qint64> second = store::KeySecond(personKey)) {
        for (std::size_t at = SlotOf(*second, mask_);; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.first < 0 || slot.second == *second)
                return slot.first;
        }
    }
    // NaN equals nothing; an out-of-range value only itself.
    const auto found =
        std::lower_bound(unnamed_.begin(), unnamed_.end(), personKey,
                         [](const auto& entry, double key) { return entry.first < key; });
    return found != unnamed_.end() && found->first == personKey ? found->second : -1;
}

} // namespace search
