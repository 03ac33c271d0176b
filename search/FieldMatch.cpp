#include "search/FieldMatch.h"

#include "store/Codepage.h"
#include "store/FieldEnd.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether some byte of the code page folds to `folded`.
bool OnPage(char16_t folded) {
    const auto& bytes = FoldedBytes();
    return std::find(bytes.begin(), bytes.end(), folded) != bytes.end();
}

// Fields this wide and wider are searched up to their padding only.
constexpr int kTrimmedWidth = 32;

} // namespace

QStringList FieldMatch::Unstorable(const QString& text) {
    QStringList unstorable;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character beyond the first 65,536 comes in two halves, neither of them on the page.
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        i += width - 1;
        if (width == 1 && OnPage(character.at(0).toCaseFolded().unicode()))
            continue;
        if (!unstorable.contains(character))
            unstorable.append(character);
    }
    return unstorable;
}

FieldMatch::FieldMatch(const QString& text) : folded_(&FoldedBytes()) {
    const auto& folded = *folded_;
    for (const QChar c : text)
        needle_.push_back(c.toCaseFolded().unicode());
    representable_ = Unstorable(text).isEmpty();
    endsInText_ = !needle_.empty() && needle_.back() != u' ' && needle_.back() != u'\0';
    if (!needle_.empty()) {
        for (int b = 0; b < 256; ++b) {
            if (folded[std::size_t(b)] == needle_[0]) {
                starts_.push_back(char(b));
                isStart_[std::size_t(b)] = true;
            }
        }
    }
    // A letter begins the text in two cases, anything else in one; more is left to the
    // byte-by-byte search.
    if (!starts_.empty() && starts_.size() <= 2) {
        std::fill(splat_.begin(), splat_.begin() + 16, starts_.front());
        std::fill(splat_.begin() + 16, splat_.end(), starts_.back());
    }
    if (needle_.size() >= 2) {
        for (int b = 0; b < 256; ++b) {
            if (folded[std::size_t(b)] == needle_[1])
                seconds_.push_back(char(b));
        }
    }
    if (!seconds_.empty() && seconds_.size() <= 2) {
        pairs_ = true;
        std::fill(secondSplat_.begin(), secondSplat_.begin() + 16, seconds_.front());
        std::fill(secondSplat_.begin() + 16, secondSplat_.end(), seconds_.back());
    }
}

bool FieldMatch::RestMatches(const unsigned char* at) const {
    const auto& folded = *folded_;
    for (std::size_t k = 1; k < needle_.size(); ++k) {
        if (folded[at[k]] != needle_[k])
            return false;
    }
    return true;
}

// Inline in both callers: a search asks one of them of millions of fields.
__attribute__((always_inline)) inline bool
FieldMatch::FoundWithin(const unsigned char* bytes, std::size_t end, int width) const {
    if (end < needle_.size())
        return false;
    const std::size_t places = end - needle_.size() + 1; // where it could begin
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen places at a time: most fields hold the first character in one or two places,
    // if at all, and only those are looked at more closely. A field of sixteen bytes or less
    // (a course code) is left to the byte-by-byte search.
    if (!starts_.empty() && starts_.size() <= 2 && width > 16) {
        const __m128i first = _mm_load_si128(reinterpret_cast<const __m128i*>(splat_.data()));
        const __m128i second = _mm_load_si128(reinterpret_cast<const __m128i*>(splat_.data() + 16));
        const __m128i secondA =
            _mm_load_si128(reinterpret_cast<const __m128i*>(secondSplat_.data()));
        const __m128i secondB =
            _mm_load_si128(reinterpret_cast<const __m128i*>(secondSplat_.data() + 16));
        // The places where the first character stands and, for a text of two or more, the
        // second right after it: sixteen bytes from `from` and, for pairs, one more.
        const auto starts = [&](std::size_t from) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
            const __m128i here =
                _mm_or_si128(_mm_cmpeq_epi8(chunk, first), _mm_cmpeq_epi8(chunk, second));
            if (!pairs_)
                return here;
            const __m128i next =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from + 1));
            return _mm_and_si128(
                here, _mm_or_si128(_mm_cmpeq_epi8(next, secondA), _mm_cmpeq_epi8(next, secondB)));
        };
        const auto check = [&](std::size_t from, unsigned mask) {
            for (; mask != 0; mask &= mask - 1) {
                if (RestMatches(bytes + from + std::size_t(std::countr_zero(mask))))
                    return true;
            }
            return false;
        };
        const auto found = [](__m128i places16) { return unsigned(_mm_movemask_epi8(places16)); };
        // Sixty-four places are passed over with one test where the text runs long. A text of
        // two or more has places+1 <= end, so the bytes one place on are still in the field.
        for (; at + 64 <= places; at += 64) {
            const __m128i a = starts(at), b = starts(at + 16), c = starts(at + 32),
                          d = starts(at + 48);
            if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) == 0)
                continue;
            if (check(at, found(a)) || check(at + 16, found(b)) || check(at + 32, found(c)) ||
                check(at + 48, found(d)))
                return true;
        }
        // The last places sixteen at a time as well, as long as the bytes read lie in the
        // field; places past the last are left out of the answer.
        const std::size_t read = pairs_ ? 17 : 16;
        for (; at < places && at + read <= std::size_t(width); at += 16) {
            const unsigned inPlace = places - at >= 16 ? 0xFFFF : (1u << (places - at)) - 1;
            if (check(at, found(starts(at)) & inPlace))
                return true;
        }
    }
#endif
    for (; at < places; ++at) {
        if (isStart_[bytes[at]] && RestMatches(bytes + at))
            return true;
    }
    return false;
}

bool FieldMatch::FoundIn(const char* field, int width) const {
    if (needle_.empty())
        return true;
    if (!representable_ || int(needle_.size()) > width)
        return false;
    // A text that ends in neither a blank nor a NUL cannot end in the padding: in a wide field
    // only the text up to its padding is searched. A narrow one is searched whole, for less.
    const std::size_t end = endsInText_ && width >= kTrimmedWidth
                                ? store::FieldTextEnd(field, std::size_t(width))
                                : std::size_t(width);
    return FoundWithin(reinterpret_cast<const unsigned char*>(field), end, width);
}

bool FieldMatch::FoundBefore(const char* field, int textEnd, int width) const {
    if (needle_.empty())
        return true;
    if (!representable_ || int(needle_.size()) > width)
        return false;
    return FoundWithin(reinterpret_cast<const unsigned char*>(field),
                       std::size_t(std::min(textEnd, width)), width);
}

} // namespace search
