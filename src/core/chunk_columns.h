// How the chunk loops (tab_chunks.cpp) count display columns: in ANSI text, and in a chunk of UTF-8
// text whose bytes are all ASCII, a byte is a column; in other UTF-8 chunks a character takes its
// columns from the bit masks of its bytes, and between chunks its columns are counted a character at
// a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "byte_scan.h"
#include "display_width.h"
#include "text_encoding.h"

#ifdef QM_SSE2
namespace chunks {

using Mask = scan::ChunkMask;

enum class Text : std::uint8_t { Ansi, Utf8 };

// The display columns of a chunk's bytes before a position. With Ascii each byte is a column.
// Otherwise a character's columns are put on its first bytes (none for a zero-width one, the first
// two for a wide one) and its other bytes, `uncounted`, take none; so one count of bits gives the
// columns. A character that goes on past the chunk's end takes none of its bytes in the chunk and
// counts whole at the chunk's end (`straddling`). Ill-formed bytes count one each, as the byte-wise
// steps count them.
template <bool Ascii> struct Columns {
    Mask uncounted = 0;
    unsigned straddling = 0;

    unsigned before(unsigned at) const {
        if constexpr (Ascii)
            return at;
        else
            return at - scan::ones(uncounted & scan::bitsBelow(at));
    }

    // The columns of the chunk's first `limit` bytes. A character can go on past the chunk only from
    // a chunk read whole: a CR or an end mark, where a chunk can stop early, is in no character.
    unsigned upTo(unsigned limit) const {
        if constexpr (Ascii)
            return limit;
        else
            return before(limit) + (limit == scan::chunkBytes ? straddling : 0);
    }
};

// The character at u (a byte of 0xC0 and up) with 4 bytes readable: its length and columns, or
// false when no well-formed sequence starts there. The common forms are decoded here; the rest,
// whose second byte has a narrower range, by utf8::sequence.
inline bool character(const unsigned char *u, const TwoByteWidths &narrow, unsigned &length,
                      unsigned &width) {
    if (u[0] < 0xE0) {
        if (u[0] < 0xC2 || (u[1] & 0xC0) != 0x80) return false;
        length = 2;
        width = narrow.of(static_cast<char32_t>((u[0] & 0x1F) << 6 | (u[1] & 0x3F)));
        return true;
    }
    char32_t cp = 0;
    if (u[0] < 0xF0 && u[0] != 0xE0 && u[0] != 0xED) {
        if ((u[1] & 0xC0) != 0x80 || (u[2] & 0xC0) != 0x80) return false;
        length = 3;
        cp = static_cast<char32_t>((u[0] & 0x0F) << 12 | (u[1] & 0x3F) << 6 | (u[2] & 0x3F));
    } else if (utf8::sequence(u, u + 4, length, cp) != utf8::Step::Complete) {
        return false;
    }
    // The common CJK ideographs are wide, and lie inside one run of the table.
    width = cp >= 0x4E00 && cp <= 0x9FFF ? 2 : displayWidth(cp);
    return true;
}

// The columns of a UTF-8 chunk with bytes of 0x80 and up; the text is readable for 4 bytes past
// it. `carry` holds, on the way in, the chunk's first bytes that belong to a character counted
// before it, and on the way out those of the next chunk.
template <class Isa>
inline Columns<false> countColumns(const char *p, const typename Isa::Chunk &chunk, Mask high, Mask &carry,
                                   const TwoByteWidths &narrow) {
    constexpr unsigned bytes = scan::chunkBytes;
    Mask leads = high & ~Isa::continuationBytes(chunk);
    Columns<false> columns{carry};
    carry = 0;
    while (leads != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(leads));
        leads &= leads - 1;
        unsigned length = 0;
        unsigned width = 0;
        if (!character(reinterpret_cast<const unsigned char *>(p + at), narrow, length, width))
            continue; // the first byte is a column, and the bytes after it count on their own
        if (at + length <= bytes) {
            // width < length for every character of two bytes or more.
            columns.uncounted |= ((Mask{1} << (length - width)) - 1) << (at + width);
            continue;
        }
        // The last character, going on into the next chunk: no lead follows it here.
        columns.uncounted |= ~Mask{0} << at;
        columns.straddling = width;
        carry = (Mask{1} << (at + length - bytes)) - 1;
    }
    return columns;
}

// The display columns of the UTF-8 bytes from `from` to `to`, where the first bytes marked in
// `counted` belong to a character counted before them. A character that begins before `to` and goes
// on past it counts whole, and `carry` is set to its bytes from `to` on. 4 bytes past `to` are
// readable.
inline std::size_t utf8Columns(const char *from, const char *to, Mask counted, Mask &carry,
                               const TwoByteWidths &narrow) {
    std::size_t columns = 0;
    const char *p = from;
    while (p < to) {
        const char *high = scan::findHighOr<>(p, to); // most text between line starts is ASCII
        columns += static_cast<std::size_t>(high - p);
        p = high;
        if (p == to) break;
        const auto at = static_cast<std::size_t>(p - from);
        unsigned length = 0;
        unsigned width = 0;
        if (at < scan::chunkBytes && (counted >> at & 1) != 0) {
            length = 1;
        } else if (!character(reinterpret_cast<const unsigned char *>(p), narrow, length, width)) {
            length = 1; // an ill-formed byte: a column
            width = 1;
        }
        columns += width;
        p += length;
    }
    carry = (Mask{1} << (p - to)) - 1;
    return columns;
}

} // namespace chunks
#endif
