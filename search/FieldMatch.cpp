#include "search/FieldMatch.h"

#include "store/Codepage.h"

#include <array>
#include <cstring>

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

// The width of a field without the blanks and NULs that pad it: the text sought, which
// neither begins nor ends with a blank, cannot lie in them. Mostly a comment is short or
// empty, and eight bytes of padding are turned away at a time.
int TextWidth(const char* field, int width) {
    constexpr quint64 kNotPadding = ~0x2020202020202020ull; // a byte of 0x20 or 0x00 has none
    while (width >= 8) {
        quint64 word;
        std::memcpy(&word, field + width - 8, 8);
        if (word & kNotPadding)
            break;
        width -= 8;
    }
    while (width > 0 && (field[width - 1] == ' ' || field[width - 1] == '\0'))
        --width;
    return width;
}

} // namespace

FieldMatch::FieldMatch(const QString& text) : folded_(&FoldedBytes()) {
    const auto& folded = *folded_;
    for (const QChar c : text)
        needle_.push_back(c.toCaseFolded().unicode());
    for (const char16_t c : needle_) {
        bool onPage = false;
        for (const char16_t f : folded)
            onPage = onPage || f == c;
        representable_ = representable_ && onPage;
    }
    if (!needle_.empty()) {
        for (int b = 0; b < 256; ++b) {
            if (folded[std::size_t(b)] == needle_[0])
                starts_.push_back(char(b));
        }
    }
}

bool FieldMatch::FoundIn(const char* field, int width) const {
    if (needle_.empty())
        return true;
    if (!representable_)
        return false;
    const auto& folded = *folded_;
    width = TextWidth(field, width);
    const std::size_t length = needle_.size();
    if (int(length) > width)
        return false;
    const std::size_t last = std::size_t(width) - length; // the last place it could begin
    // Most fields hold the first character in one or two places, if at all: the library's
    // byte search finds them far faster than a test of every byte.
    for (const char start : starts_) {
        const char* from = field;
        while (const void* hit = std::memchr(from, start, std::size_t(field + last + 1 - from))) {
            const auto* at = static_cast<const unsigned char*>(hit);
            std::size_t k = 1;
            while (k < length && folded[at[k]] == needle_[k])
                ++k;
            if (k == length)
                return true;
            from = reinterpret_cast<const char*>(at) + 1;
            if (from > field + last)
                break;
        }
    }
    return false;
}

} // namespace search
