// Finding the next byte of interest in a text: the converters spend most of their time here, so the
// search looks at 16 bytes at a time where the processor allows it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// QM_NO_SIMD builds the portable loops on any processor, so they can be tested where SSE2 exists.
// MSVC names SSE2 by _M_X64 or _M_IX86_FP rather than __SSE2__.
#if (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)) && !defined(QM_NO_SIMD)
#define QM_SSE2 1
#include <immintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#endif

// Function attributes of GCC and clang. MSVC lets intrinsics of any instruction set stand in any
// function and has no attribute to build a function's callees into it, so there they are empty.
#if defined(__GNUC__)
#define QM_TARGET_AVX2 [[gnu::target("avx2")]]
#define QM_ALWAYS_INLINE [[gnu::always_inline]]
#define QM_NOINLINE [[gnu::noinline]]
// A loop over chunks compiled for AVX2: a function with this mark has everything it calls built
// into it, so the Avx2 functions below are inlined rather than called.
#define QM_AVX2_LOOP [[gnu::target("avx2"), gnu::flatten]]
// A chunk loop starts on a cache line, so its speed does not change with where the linker puts it.
#define QM_LOOP_ALIGN [[gnu::aligned(64)]]
#else
#define QM_LOOP_ALIGN
#define QM_TARGET_AVX2
#define QM_ALWAYS_INLINE
#define QM_NOINLINE __declspec(noinline)
#define QM_AVX2_LOOP
#endif

namespace scan {

// The byte that ends the readable text of the window's line reading.
inline constexpr char endOfTextMark = '\x1A';

// Writes 16 spaces at `to`: a run of up to 16 is one fixed-size store, and the bytes past the run
// are overwritten by whatever comes next.
inline void storeSpaces16(char *to) { std::memcpy(to, "                ", 16); }

// How far past their target the wider stores below reach.
inline constexpr std::size_t spaceStoreBytes = 48; // storeSpaces48
inline constexpr std::size_t copyAheadReach = 32;  // copyAhead, past the bytes it is asked for

// Set bits, without the library call that std::popcount becomes where the processor has no
// instruction for it.
inline unsigned ones(std::uintptr_t m) {
    if constexpr (sizeof m == 8) {
        std::uint64_t x = m;
        x -= (x >> 1) & 0x5555555555555555ULL;
        x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        return static_cast<unsigned>((x * 0x0101010101010101ULL) >> 56);
    } else {
        std::uint32_t x = static_cast<std::uint32_t>(m);
        x -= (x >> 1) & 0x55555555u;
        x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
        x = (x + (x >> 4)) & 0x0F0F0F0Fu;
        return (x * 0x01010101u) >> 24;
    }
}

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
// Makes the compiler hold these constants in registers from here on. In 32-bit code, where
// registers are scarce, GCC would otherwise make them again in every turn of a loop.
// Always built into its caller, whose instruction set the register must belong to. Only GCC takes
// this operand: clang refuses a 256-bit vector in it and keeps such constants without it.
template <class Vector> QM_ALWAYS_INLINE inline void keepInRegister([[maybe_unused]] Vector &vector) {
#if defined(__GNUC__) && !defined(__clang__)
    asm("" : "+x"(vector));
#endif
}

template <class... Vectors> QM_ALWAYS_INLINE inline void keepInRegisters(Vectors &...vectors) {
    (keepInRegister(vectors), ...);
}

// A chunk is as many bytes as a machine word has bits (64 on 64-bit processors, 32 on 32-bit ones),
// so that the bit masks of its bytes are single words. Each instruction set below loads, stores and
// searches chunks its own way; the loops over them are written once for any of them.
using ChunkMask = std::uintptr_t;
inline constexpr unsigned chunkBytes = 8 * sizeof(ChunkMask);

// 16 bytes at a time: every processor the program targets.
struct Sse2 {
    struct Chunk {
        static constexpr unsigned bytes = chunkBytes;
        static constexpr int parts = bytes / 16;
        __m128i part[parts];
    };

    static Chunk load(const char *p) {
        Chunk chunk;
        for (int i = 0; i < Chunk::parts; ++i)
            chunk.part[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        return chunk;
    }

    static void store(char *o, const Chunk &chunk) {
        for (int i = 0; i < Chunk::parts; ++i)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(o + 16 * i), chunk.part[i]);
    }

    // Bit i set where `test` holds for byte i; `test` turns 16 bytes into 0xFF or 0 per byte.
    template <typename Test> static ChunkMask bitsWhere(const Chunk &chunk, Test test) {
        ChunkMask bits = 0;
        for (int i = 0; i < Chunk::parts; ++i) {
            const auto part = static_cast<std::uint32_t>(_mm_movemask_epi8(test(chunk.part[i])));
            bits |= static_cast<ChunkMask>(part) << (16 * i);
        }
        return bits;
    }

    // Bit i set when byte i of the chunk is one of Needles.
    template <char... Needles> static ChunkMask positions(const Chunk &chunk) {
        return bitsWhere(chunk, [](__m128i v) { return matches<Needles...>(v); });
    }

    // Bytes of 0x80 and up: their sign bits as they are.
    static ChunkMask highBytes(const Chunk &chunk) {
        return bitsWhere(chunk, [](__m128i v) { return v; });
    }

    // Continuation bytes of UTF-8, 0x80 to 0xBF: below -64 as signed bytes.
    static ChunkMask continuationBytes(const Chunk &chunk) {
        return bitsWhere(chunk,
                         [](__m128i v) { return _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(0xC0))); });
    }

    // The test whether the chunk at p is plain lines: no tab, no end mark and no CR without an LF
    // right after it (the byte after the chunk is read). Its constants are made once, for a loop.
    struct PlainLines {
        __m128i returns = _mm_set1_epi8('\r'), lineFeeds = _mm_set1_epi8('\n'), tabs = _mm_set1_epi8('\t'),
                marks = _mm_set1_epi8('\x1A');
        PlainLines() { keepInRegisters(returns, lineFeeds, tabs, marks); }

        bool operator()(const char *p, const Chunk &chunk) const {
            __m128i odd = _mm_setzero_si128();
            for (int i = 0; i < Chunk::parts; ++i) {
                const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i + 1));
                const __m128i lonelyReturns =
                    _mm_andnot_si128(_mm_cmpeq_epi8(next, lineFeeds), _mm_cmpeq_epi8(chunk.part[i], returns));
                const __m128i tabsOrMarks =
                    _mm_or_si128(_mm_cmpeq_epi8(chunk.part[i], tabs), _mm_cmpeq_epi8(chunk.part[i], marks));
                odd = _mm_or_si128(odd, _mm_or_si128(lonelyReturns, tabsOrMarks));
            }
            return _mm_movemask_epi8(odd) == 0;
        }
    };

    // The plain test of kept line ends, where CR, LF and 0x1A all stay as they are: no tab.
    struct TabFree {
        __m128i tabs = _mm_set1_epi8('\t');
        TabFree() { keepInRegisters(tabs); }

        bool operator()(const char *, const Chunk &chunk) const {
            __m128i found = _mm_cmpeq_epi8(chunk.part[0], tabs);
            for (int i = 1; i < Chunk::parts; ++i)
                found = _mm_or_si128(found, _mm_cmpeq_epi8(chunk.part[i], tabs));
            return _mm_movemask_epi8(found) == 0;
        }
    };

    // The last byte in [from, to) that is one of Breaks, or nullptr.
    template <char... Breaks> static const char *lastOf(const char *from, const char *to) {
        while (to - from >= 16) {
            to -= 16;
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(to));
            const auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(matches<Breaks...>(block)));
            if (mask != 0) return to + (31 - std::countl_zero(mask));
        }
        while (to != from) {
            const char c = *--to;
            if (((c == Breaks) || ...)) return to;
        }
        return nullptr;
    }
};

// 32 bytes at a time. Its functions carry their own instruction set, so the rest of the program
// stays SSE2 code; the loops that use them are compiled again for it (see QM_AVX2_LOOP).
struct Avx2 {
    struct Chunk {
        static constexpr unsigned bytes = chunkBytes;
        static constexpr int parts = bytes / 32;
        __m256i part[parts];
    };

    QM_TARGET_AVX2 static Chunk load(const char *p) {
        Chunk chunk;
        for (int i = 0; i < Chunk::parts; ++i)
            chunk.part[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32 * i));
        return chunk;
    }

    QM_TARGET_AVX2 static void store(char *o, const Chunk &chunk) {
        for (int i = 0; i < Chunk::parts; ++i)
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(o + 32 * i), chunk.part[i]);
    }

    template <char... Needles> QM_TARGET_AVX2 static ChunkMask positions(const Chunk &chunk) {
        ChunkMask bits = 0;
        for (int i = 0; i < Chunk::parts; ++i) {
            const auto part =
                static_cast<std::uint32_t>(_mm256_movemask_epi8(matches256<Needles...>(chunk.part[i])));
            bits |= static_cast<ChunkMask>(part) << (32 * i);
        }
        return bits;
    }

    // Each byte is looked up by a key: the byte itself, its lowest bit flipped when an LF follows
    // it. So a CR before an LF (key 0x0C) is plain, a CR elsewhere (0x0D) is not, and a tab (0x09 or
    // 0x08) or an end mark (0x1A or 0x1B) is not plain either way. The table holds, for each value of
    // a key's low four bits, the one key with those bits that is not plain (0xFF when none: no key
    // below 0x80 equals it, and a key from 0x80 up looks up 0). A backspace, form feed or escape
    // may share a key with them: such rare chunks only take the slower exact loop.
    struct PlainLines {
        __m256i notPlain, lineFeeds, lowestBit;
        QM_TARGET_AVX2 PlainLines()
            : notPlain(_mm256_broadcastsi128_si256(
                  _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, 0x08, 0x09, 0x1A, 0x1B, -1, 0x0D, -1, -1))),
              lineFeeds(_mm256_set1_epi8('\n')), lowestBit(_mm256_set1_epi8(1)) {
            keepInRegisters(notPlain, lineFeeds, lowestBit);
        }

        QM_TARGET_AVX2 bool operator()(const char *p, const Chunk &chunk) const {
            __m256i odd = _mm256_setzero_si256();
            for (int i = 0; i < Chunk::parts; ++i) {
                const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32 * i + 1));
                const __m256i beforeLineFeed =
                    _mm256_and_si256(_mm256_cmpeq_epi8(next, lineFeeds), lowestBit);
                const __m256i keys = _mm256_xor_si256(chunk.part[i], beforeLineFeed);
                odd = _mm256_or_si256(odd, _mm256_cmpeq_epi8(_mm256_shuffle_epi8(notPlain, keys), keys));
            }
            return _mm256_movemask_epi8(odd) == 0;
        }
    };

    // Bytes of 0x80 and up, and the continuation bytes of UTF-8 among them (see Sse2).
    QM_TARGET_AVX2 static ChunkMask highBytes(const Chunk &chunk) {
        ChunkMask bits = 0;
        for (int i = 0; i < Chunk::parts; ++i)
            bits |= static_cast<ChunkMask>(static_cast<std::uint32_t>(_mm256_movemask_epi8(chunk.part[i])))
                    << (32 * i);
        return bits;
    }

    QM_TARGET_AVX2 static ChunkMask continuationBytes(const Chunk &chunk) {
        const __m256i firstLead = _mm256_set1_epi8(static_cast<char>(0xC0));
        ChunkMask bits = 0;
        for (int i = 0; i < Chunk::parts; ++i) {
            const __m256i below = _mm256_cmpgt_epi8(firstLead, chunk.part[i]); // signed: 0x80 to 0xBF
            bits |= static_cast<ChunkMask>(static_cast<std::uint32_t>(_mm256_movemask_epi8(below)))
                    << (32 * i);
        }
        return bits;
    }

    // The plain test of kept line ends: no tab.
    struct TabFree {
        __m256i tabs;
        QM_TARGET_AVX2 TabFree() : tabs(_mm256_set1_epi8('\t')) { keepInRegisters(tabs); }

        QM_TARGET_AVX2 bool operator()(const char *, const Chunk &chunk) const {
            __m256i found = _mm256_cmpeq_epi8(chunk.part[0], tabs);
            for (int i = 1; i < Chunk::parts; ++i)
                found = _mm256_or_si256(found, _mm256_cmpeq_epi8(chunk.part[i], tabs));
            return _mm256_movemask_epi8(found) == 0;
        }
    };

    // The last byte in [from, to) that is one of Breaks, or nullptr.
    template <char... Breaks> QM_TARGET_AVX2 static const char *lastOf(const char *from, const char *to) {
        while (to - from >= 32) {
            to -= 32;
            const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(to));
            const auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(matches256<Breaks...>(block)));
            if (mask != 0) return to + (31 - std::countl_zero(mask));
        }
        while (to != from) {
            const char c = *--to;
            if (((c == Breaks) || ...)) return to;
        }
        return nullptr;
    }

private:
    template <char First, char... Rest> QM_TARGET_AVX2 static __m256i matches256(__m256i block) {
        const __m256i hits = _mm256_cmpeq_epi8(block, _mm256_set1_epi8(First));
        if constexpr (sizeof...(Rest) == 0)
            return hits;
        else
            return _mm256_or_si256(hits, matches256<Rest...>(block));
    }
};

// The chunk loops the program runs: chosen once at start-up from what the processor offers.
enum class Path { Sse2, Avx2 };

inline bool pathSupported(Path path) {
    if (path == Path::Sse2) return true;
#if defined(__GNUC__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    // AVX2 is CPUID leaf 7 EBX bit 5; its registers must be saved by the system (XCR0 bits 1 and 2).
    int info[4];
    __cpuid(info, 1);
    const bool savesAvx = (info[2] & (1 << 27)) != 0 && (_xgetbv(0) & 6) == 6;
    __cpuidex(info, 7, 0);
    return savesAvx && (info[1] & (1 << 5)) != 0;
#endif
}

inline Path &chosenPath() {
    static Path path = pathSupported(Path::Avx2) ? Path::Avx2 : Path::Sse2;
    return path;
}

inline Path activePath() { return chosenPath(); }

// Makes the loops take `path` from now on, when the processor has it (for tests and benchmarks).
inline bool usePath(Path path) {
    if (!pathSupported(path)) return false;
    chosenPath() = path;
    return true;
}

inline const char *pathName(Path path) { return path == Path::Avx2 ? "avx2" : "sse2"; }

// The bits below `limit` (at most chunkBytes).
inline ChunkMask bitsBelow(unsigned limit) {
    return limit >= chunkBytes ? ~ChunkMask{0} : (ChunkMask{1} << limit) - 1;
}

// Writes 48 spaces at `to`.
inline void storeSpaces48(char *to) {
    const __m128i spaces = _mm_set1_epi8(' ');
    for (int i = 0; i < 3; ++i) _mm_storeu_si128(reinterpret_cast<__m128i *>(to + 16 * i), spaces);
}

// True when no 17 bytes in a row of a chunk are unmarked: then 16 bytes copied after each mark
// reach the next one, or the chunk's end.
inline bool gapsAtMost16(ChunkMask marks) {
    ChunkMask gap = ~marks; // bit i: byte i starts a run of 1 unmarked byte
    gap &= gap >> 1;        // ... of 2
    gap &= gap >> 2;        // ... of 4
    gap &= gap >> 4;        // ... of 8
    gap &= gap >> 8;        // ... of 16
    gap &= ~marks >> 16;    // ... of 17
    return gap == 0;
}

inline void copy16(char *to, const char *from) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to), bytes);
}

// Copies `length` bytes from `from` to `to` in 16-byte pieces: 16 when the gaps are known to be
// short, otherwise 32 without a check (most pieces of text between tabs are shorter) and more as
// needed. Reads and writes up to copyAheadReach bytes past the length.
template <bool ShortGaps>
inline void copyAhead(char *to, const char *from, [[maybe_unused]] std::size_t length) {
    copy16(to, from);
    if constexpr (!ShortGaps) {
        copy16(to + 16, from + 16);
        for (std::size_t done = 32; done < length; done += 16) copy16(to + done, from + done);
    }
}
#endif

// The first byte in [p, end) equal to one of Needles, or end when there is none.
template <char... Needles> inline const char *findFirstOf(const char *p, const char *end) {
#ifdef QM_SSE2
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask = _mm_movemask_epi8(matches<Needles...>(block));
        if (mask != 0) return p + std::countr_zero(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    for (; p != end; ++p) {
        const char c = *p;
        if (((c == Needles) || ...)) return p;
    }
    return end;
}

// The first byte in [p, end) of 0x80 or more or equal to one of Needles, or end when there is none:
// a text that is all ASCII but for a rare character is passed over 64 bytes at a time (8 without
// SSE2). Reads nothing past end.
template <char... Needles> inline const char *findHighOr(const char *p, const char *end) {
#ifdef QM_SSE2
    while (end - p >= 64) {
        __m128i part[4];
        for (int i = 0; i < 4; ++i) part[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        // The sign bits of the bytes themselves mark the high ones.
        __m128i found = _mm_or_si128(_mm_or_si128(part[0], part[1]), _mm_or_si128(part[2], part[3]));
        if constexpr (sizeof...(Needles) != 0)
            for (int i = 0; i < 4; ++i) found = _mm_or_si128(found, matches<Needles...>(part[i]));
        if (_mm_movemask_epi8(found) != 0) break; // the loop below finds which byte
        p += 64;
    }
    while (end - p >= 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if constexpr (sizeof...(Needles) != 0) block = _mm_or_si128(block, matches<Needles...>(block));
        const int mask = _mm_movemask_epi8(block);
        if (mask != 0) return p + std::countr_zero(static_cast<unsigned>(mask));
        p += 16;
    }
#else
    constexpr std::uint64_t lowBits = 0x0101010101010101ULL;
    constexpr std::uint64_t highBits = 0x8080808080808080ULL;
    // A word holds a zero byte when subtracting 1 from each byte borrows into a high bit that was clear.
    const auto holdsZero = [](std::uint64_t x) { return ((x - lowBits) & ~x & highBits) != 0; };
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if ((word & highBits) != 0 ||
            (holdsZero(word ^ (lowBits * static_cast<unsigned char>(Needles))) || ...))
            break;
        p += 8;
    }
#endif
    for (; p != end; ++p) {
        const char c = *p;
        if (static_cast<unsigned char>(c) >= 0x80 || ((c == Needles) || ...)) return p;
    }
    return end;
}

} // namespace scan
