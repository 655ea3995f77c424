// Short tab stops over UTF-8 text, a chunk at a time, for the window's line reading and for line ends
// kept as they are, as the ANSI chunks go: a chunk of ASCII bytes is a column a byte, and in others a
// character's columns are counted from the bit masks of its bytes.
#include "tab_chunks.h"

#include <bit>
#include <cstring>

#include "display_width.h"
#include "text_encoding.h"

#ifdef QM_SSE2
namespace chunks {

namespace {

using scan::Sse2;
using Mask = scan::ChunkMask;
constexpr unsigned bytes = scan::chunkBytes;

// The display columns of a chunk's bytes before a position. In a chunk of ASCII bytes each byte is
// a column, as in ANSI text. Otherwise a character's columns are put on its first bytes (none for
// a zero-width one, the first two for a wide one) and its other bytes, `uncounted`, take none; so
// one count of bits gives the columns. Ill-formed bytes are counted one each, as the byte-wise
// steps count them.
template <bool Ascii> struct Columns {
    Mask uncounted = 0;

    unsigned before(unsigned at) const {
        if constexpr (Ascii)
            return at;
        else
            return at - scan::ones(uncounted & scan::bitsBelow(at));
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

// The columns of a chunk with bytes of 0x80 and up; the text is readable for 4 bytes past it. A
// character may go on into the next chunk: `carry` holds, on the way in, the uncounted bytes of
// this chunk that belong to one begun in the previous chunk, and on the way out those of the next;
// `spill` is set to how many bytes of this chunk's last character lie past it.
inline Columns<false> countColumns(const char *p, const Sse2::Chunk &c, Mask high, Mask &carry,
                                   unsigned &spill, const TwoByteWidths &narrow) {
    Mask leads = high & ~Sse2::continuationBytes(c);
    Columns<false> columns{carry};
    carry = 0;
    spill = 0;
    while (leads != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(leads));
        leads &= leads - 1;
        unsigned length = 0;
        unsigned width = 0;
        if (!character(reinterpret_cast<const unsigned char *>(p + at), narrow, length, width))
            continue; // the first byte is a column, and the bytes after it count on their own
        // width < length for every character of two bytes or more.
        if (at + length <= bytes) {
            columns.uncounted |= ((Mask{1} << (length - width)) - 1) << (at + width);
            continue;
        }
        for (unsigned k = width; k < length; ++k) {
            if (at + k < bytes)
                columns.uncounted |= Mask{1} << (at + k);
            else
                carry |= Mask{1} << (at + k - bytes);
        }
        spill = at + length - bytes;
    }
    return columns;
}

// Places the tabs of a chunk without line feeds whose gaps are at most 16 bytes. `copied` counts
// the chunk's bytes already in the output; column 0 is where `before` gives `base`.
template <bool Ascii>
inline void placeShortGapTabs(char *&out, const char *p, Mask tabs, unsigned &copied, int &base,
                              const ShortStops &stops, const Columns<Ascii> &columns) {
    while (tabs != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(tabs));
        tabs &= tabs - 1;
        out += at - copied;
        scan::storeSpaces16(out);
        out += stops.run(static_cast<unsigned>(static_cast<int>(columns.before(at)) - base));
        copied = at + 1;
        base = static_cast<int>(columns.before(copied));
        scan::copyAhead<true>(out, p + copied, 0);
    }
}

// The same for any chunk. A run of tabs, as an indent is, counts as one: each tab after the first
// stands on a stop and takes a full width. A line feed restarts the column and is stored again
// from itself.
template <bool Ascii>
inline void placeTabRunsAndLineFeeds(char *&out, const char *p, Mask tabs, Mask lineFeeds, unsigned limit,
                                     unsigned &copied, int &base, const ShortStops &stops, unsigned width,
                                     const Columns<Ascii> &columns) {
    const Mask runStarts = tabs & ~(tabs << 1);
    Mask events = (runStarts | lineFeeds) & scan::bitsBelow(limit);
    while (events != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(events));
        events &= events - 1;
        const auto tabsHere = static_cast<unsigned>(std::countr_zero(~(tabs >> at))); // 0 at a line feed
        const unsigned firstRun =
            stops.run(static_cast<unsigned>(static_cast<int>(columns.before(at)) - base));
        const unsigned run = (firstRun + (tabsHere - 1) * width) & (0u - (tabsHere != 0));
        out += at - copied;
        if (run > 48) [[unlikely]]
            std::memset(out, ' ', run);
        scan::storeSpaces48(out);
        out += run;
        copied = at + tabsHere;
        base = static_cast<int>(columns.before(copied + (tabsHere == 0)));
        scan::copyAhead<false>(out, p + copied, static_cast<unsigned>(std::countr_zero(events)) - copied);
    }
}

template <bool Ascii>
inline void placeChunk(char *&out, const char *p, Mask tabs, Mask lineFeeds, unsigned limit, int &base,
                       const ShortStops &stops, unsigned width, const Columns<Ascii> &columns) {
    unsigned copied = 0;
    if (tabs == 0) {
        // Stored as it is, as most chunks of text are: only the column moves, from the last line start.
        const Mask starts = lineFeeds & scan::bitsBelow(limit);
        if (starts != 0)
            base = static_cast<int>(columns.before(static_cast<unsigned>(std::bit_width(starts))));
    } else if (limit == bytes && lineFeeds == 0 && scan::gapsAtMost16(tabs)) {
        placeShortGapTabs(out, p, tabs, copied, base, stops, columns);
    } else {
        placeTabRunsAndLineFeeds(out, p, tabs, lineFeeds, limit, copied, base, stops, width, columns);
    }
    out += limit - copied;
    // The column after the chunk is at most 15 + bytes.
    base = -static_cast<int>(
        stops.inStop(static_cast<unsigned>(static_cast<int>(columns.before(limit)) - base)));
}

// Chunks one after another, for tab stops `width` (1 to 16) apart, while readReach bytes are
// readable and the output is not past outLimit. Within a chunk the output is the input with its
// tabs widened. Under the window's reading CR LF pairs and lone LFs come out as they are and only
// restart the column, and the chunks stop before a lone CR, a CR whose LF is in the next chunk, or
// an end mark, for the byte-wise steps. With line ends kept, a CR and an LF each restart the column
// and nothing stops the chunks but the readable bytes and the output's room.
template <bool Kept>
inline const char *tabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                            const char *outLimit, const ShortStops &stops) {
    const unsigned width = stops.width();
    char *out = o; // locals, so the loop keeps them in registers
    char *const first = out;
    int base = -static_cast<int>(columnInStop(column, width));
    Mask carry = 0;
    unsigned spill = 0;
    const TwoByteWidths &narrow = twoByteWidths();
    unsigned limit = 0;
    do {
        const Sse2::Chunk c = Sse2::load(p);
        Sse2::store(out, c);
        const Mask tabs = Sse2::positions<'\t'>(c);
        const Mask lineFeeds = Sse2::positions<'\n'>(c);
        const Mask returns = Sse2::positions<'\r'>(c);
        Mask lineStarts = lineFeeds;
        if constexpr (Kept) {
            lineStarts |= returns;
            limit = bytes;
        } else {
            const Mask lonelyReturns = returns & ~(lineFeeds >> 1);
            const Mask exits = lonelyReturns | Sse2::positions<scan::endOfTextMark>(c);
            limit = static_cast<unsigned>(std::countr_zero(exits)); // `bytes` when none
        }
        const Mask high = Sse2::highBytes(c);
        if (high == 0) // as in ANSI text: a byte is a column
            placeChunk(out, p, tabs, lineStarts, limit, base, stops, width, Columns<true>{});
        else
            placeChunk(out, p, tabs, lineStarts, limit, base, stops, width,
                       countColumns(p, c, high, carry, spill, narrow));
        p += limit;
    } while (limit == bytes && static_cast<std::size_t>(end - p) >= readReach && out <= outLimit);
    column = static_cast<std::size_t>(-base);
    if (limit == bytes && spill != 0) {
        // The last character goes on into the text after the chunks: its bytes there are copied
        // here, and the columns put on them counted.
        std::memcpy(out, p, spill);
        out += spill;
        p += spill;
        column += spill - scan::ones(carry);
    }
    o = out;
    if constexpr (Kept) {
        lineOpen = lineOpen || out != first;
        return p;
    }
    // A line feed never starts a chunk's output right after a CR, so the output ends a line
    // exactly when it ends with CR LF.
    if (out != first) lineOpen = !(out - first >= 2 && out[-2] == '\r' && out[-1] == '\n');
    return p;
}

} // namespace

const char *utf8TabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                         const char *outLimit, const ShortStops &stops) {
    return tabStops<false>(p, end, o, column, lineOpen, outLimit, stops);
}

const char *utf8KeptTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                             const char *outLimit, const ShortStops &stops) {
    return tabStops<true>(p, end, o, column, lineOpen, outLimit, stops);
}

} // namespace chunks
#endif
