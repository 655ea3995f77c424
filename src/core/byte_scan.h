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
// A chunk is as many bytes as a machine word has bits (64 on 64-bit processors, 32 on 32-bit ones),
// so that the bit masks of its bytes are single words.
using ChunkMask = std::uintptr_t;

struct Chunk {
    static constexpr unsigned bytes = 8 * sizeof(ChunkMask);
    static constexpr int parts = bytes / 16;
    __m128i part[parts];
};

inline Chunk loadChunk(const char *p) {
    Chunk chunk;
    for (int i = 0; i < Chunk::parts; ++i)
        chunk.part[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
    return chunk;
}

inline void storeChunk(char *o, const Chunk &chunk) {
    for (int i = 0; i < Chunk::parts; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i *>(o + 16 * i), chunk.part[i]);
}

// Bit i set when byte i of the chunk is one of Needles.
template <char... Needles> inline ChunkMask positions(const Chunk &chunk) {
    ChunkMask bits = 0;
    for (int i = 0; i < Chunk::parts; ++i) {
        const auto part = static_cast<std::uint32_t>(_mm_movemask_epi8(matches<Needles...>(chunk.part[i])));
        bits |= static_cast<ChunkMask>(part) << (16 * i);
    }
    return bits;
}

// The bits below `limit` (at most Chunk::bytes).
inline ChunkMask bitsBelow(unsigned limit) {
    return limit >= Chunk::bytes ? ~ChunkMask{0} : (ChunkMask{1} << limit) - 1;
}

// Writes 48 spaces at `to`.
inline void storeSpaces48(char *to) {
    const __m128i spaces = _mm_set1_epi8(' ');
    for (int i = 0; i < 3; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + 16 * i), spaces);
}

// True when no 17 bytes in a row of a chunk are unmarked: then 16 bytes copied after each mark
// reach the next one, or the chunk's end.
inline bool gapsAtMost16(ChunkMask marks) {
    ChunkMask gap = ~marks; // bit i: byte i starts a run of 1 unmarked byte
    gap &= gap >> 1;            // ... of 2
    gap &= gap >> 2;            // ... of 4
    gap &= gap >> 4;            // ... of 8
    gap &= gap >> 8;            // ... of 16
    gap &= ~marks >> 16;        // ... of 17
    return gap == 0;
}

// Copies `length` bytes from `from` to `to` in 16-byte pieces: 16 when the gaps are known to be
// short, otherwise 32 without a check (most pieces of text between tabs are shorter) and more as
// needed. Reads and writes up to 32 bytes past the length.
inline void copy16(char *to, const char *from) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to), bytes);
}

template <bool ShortGaps>
inline void copyAhead(char *to, const char *from, [[maybe_unused]] std::size_t length) {
    copy16(to, from);
    if constexpr (!ShortGaps) {
        copy16(to + 16, from + 16);
        for (std::size_t done = 32; done < length; done += 16)
            copy16(to + done, from + done);
    }
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
