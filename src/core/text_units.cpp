#include "text_units.h"

#include <bit>

namespace units {

namespace {

// Printable ASCII (and DEL): a byte that is one column and needs no look.
inline bool plainAscii(char c) { return static_cast<signed char>(c) >= 0x20; }

// Copies the plain ASCII bytes from p on, up to limit, to o, and returns where they end. The output
// needs storeReach bytes of room past the copied ones.
inline const char *copyPlainAscii(const char *p, const char *limit, char *&o) {
#ifdef QM_SSE2
    // One signed comparison finds both the control bytes and the bytes of 0x80 and up.
    const __m128i below = _mm_set1_epi8(0x20);
    while (limit - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(o), block);
        const int mask = _mm_movemask_epi8(_mm_cmplt_epi8(block, below));
        if (mask != 0) {
            const auto n = static_cast<unsigned>(std::countr_zero(static_cast<unsigned>(mask)));
            o += n;
            return p + n;
        }
        p += 16;
        o += 16;
    }
#endif
    while (p != limit && plainAscii(*p)) *o++ = *p++;
    return p;
}

} // namespace

const char *Utf8::copyPlain(const char *p, const char *limit, const char *end, char *&o,
                            std::size_t &column) const {
    while (p < limit) {
        const char *plainEnd = copyPlainAscii(p, limit, o);
        column += static_cast<std::size_t>(plainEnd - p);
        p = plainEnd;
        if (p == limit || static_cast<unsigned char>(*p) < 0x80) break;
        Unit unit{};
        if (!decode(p, end, unit)) break;
        std::memcpy(o, p, unit.bytes);
        o += unit.bytes;
        p += unit.bytes;
        column += unit.width;
    }
    return p;
}

} // namespace units
