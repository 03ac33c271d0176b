#include "search/FieldMatch.h"

#include "store/Codepage.h"

namespace search {

namespace {

// The folded character of each byte of the code page.
const std::array<char16_t, 256>& FoldedBytes() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> folded{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            folded[std::size_t(b)] = store::DecodeAnsi(&byte, 1).at(0).toCaseFolded().unicode();
        }
        return folded;
    }();
    return table;
}

} // namespace

FieldMatch::FieldMatch(const QString& text) {
    const auto& folded = FoldedBytes();
    for (const QChar c : text)
        needle_.push_back(c.toCaseFolded().unicode());
    for (const char16_t c : needle_) {
        bool onPage = false;
        for (const char16_t f : folded)
            onPage = onPage || f == c;
        representable_ = representable_ && onPage;
    }
    if (!needle_.empty()) {
        for (int b = 0; b < 256; ++b)
            starts_[std::size_t(b)] = folded[std::size_t(b)] == needle_[0];
    }
}

bool FieldMatch::FoundIn(const char* field, int width) const {
    if (needle_.empty())
        return true;
    if (!representable_)
        return false;
    const auto& folded = FoldedBytes();
    const int length = int(needle_.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(field);
    for (int at = 0; at + length <= width; ++at) {
        if (!starts_[bytes[at]])
            continue;
        int k = 1;
        while (k < length && folded[bytes[at + k]] == needle_[std::size_t(k)])
            ++k;
        if (k == length)
            return true;
    }
    return false;
}

} // namespace search
