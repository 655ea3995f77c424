// Finding the next byte of interest in a text: the converters spend most of their time here, so the
// search looks at 16 bytes at a time where the processor allows it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// QM_NO_SIMD builds the portable loops on any processor, so they can be tested where SSE2 exists.
#if defined(__SSE2__) && !defined(QM_NO_SIMD)
#define QM_SSE2 1
#include <emmintrin.h>
#endif

namespace scan {

#ifdef QM_SSE2
template <char First, char... Rest> inline __m128i matches(__m128i block) {
    const __m128i hits = _mm_cmpeq_epi8(block, _mm_set1_epi8(First));
    if constexpr (sizeof...(Rest) == 0)
        return hits;
    else
        return _mm_or_si128(hits, matches<Rest...>(block));
}
#endif

#ifdef QM_SSE2
// 32 bytes handled as one: a line of ordinary text mostly fits, so a chunk rarely ends mid-line.
struct Block32 {
    __m128i low;
    __m128i high;
};

inline Block32 load32(const char *p) {
    return {_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)),
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16))};
}

inline void store32(char *o, Block32 block) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), block.low);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o + 16), block.high);
}

// Bit i set when byte i of the block is one of Needles.
template <char... Needles> inline std::uint32_t positions(Block32 block) {
    const auto low = static_cast<std::uint32_t>(_mm_movemask_epi8(matches<Needles...>(block.low)));
    const auto high = static_cast<std::uint32_t>(_mm_movemask_epi8(matches<Needles...>(block.high)));
    return low | high << 16;
}
#endif

// The first byte in [p, end) equal to one of Needles, or end when there is none.
template <char... Needles> inline const char *findFirstOf(const char *p, const char *end) {
#ifdef QM_SSE2
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask = _mm_movemask_epi8(matches<Needles...>(block));
        if (mask != 0)
            return p + std::countr_zero(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    for (; p != end; ++p) {
        const char c = *p;
        if (((c == Needles) || ...))
            return p;
    }
    return end;
}

} // namespace scan
