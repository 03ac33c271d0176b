#include "store/FieldEnd.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace store {

std::size_t FieldTextEnd(const char* field, std::size_t width) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(field);
    std::size_t end = width;
#if defined(__SSE2__)
    // A byte is padding when it is a blank or a NUL: when setting the blank's bit makes it one.
    const __m128i blank = _mm_set1_epi8(' ');
    const auto padding = [&](std::size_t from) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
        return _mm_cmpeq_epi8(_mm_or_si128(chunk, blank), blank);
    };
    // Comments are short beside their field: most of it is passed over 64 bytes at a time.
    while (end >= 64) {
        const __m128i all = _mm_and_si128(_mm_and_si128(padding(end - 64), padding(end - 48)),
                                          _mm_and_si128(padding(end - 32), padding(end - 16)));
        if (_mm_movemask_epi8(all) != 0xFFFF)
            break;
        end -= 64;
    }
    while (end >= 16) {
        const unsigned text = ~unsigned(_mm_movemask_epi8(padding(end - 16))) & 0xFFFF;
        if (text != 0)
            return end - 16 + std::size_t(std::bit_width(text));
        end -= 16;
    }
#endif
    while (end > 0 && (bytes[end - 1] | ' ') == ' ')
        --end;
    return end;
}

} // namespace store
