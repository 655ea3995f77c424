// Short tab stops over ANSI and UTF-8 text, a chunk at a time, for the window's line reading and for
// line ends kept as they are: plain chunks (no tab; under the window's reading also no lone CR and no
// end mark) are only stored, whatever their bytes, and the column is found again from the text when
// a tab comes. Columns are counted as chunk_columns.h says.
#include "tab_chunks.h"

#include <bit>
#include <cstring>
#include <type_traits>

#include "chunk_columns.h"

#ifdef QM_SSE2
namespace chunks {

namespace {

// The two ways of reading lines. Under the window's, a line starts after an LF (a CR is met only
// before one: a lone CR or an end mark stops the chunks). With line ends kept, a line starts after
// a CR or an LF, and every other byte but a tab is a column.
template <bool Kept> struct Lines {
    template <class Isa> static const char *lastStart(const char *from, const char *to) {
        if constexpr (Kept)
            return Isa::template lastOf<'\r', '\n'>(from, to);
        else
            return Isa::template lastOf<'\n'>(from, to);
    }
    template <class Isa>
    using Plain = std::conditional_t<Kept, typename Isa::TabFree, typename Isa::PlainLines>;
};

// What the chunk loops know of the column: for the chunk that starts at `known` in the text,
// `origin` is what a byte's columns before it in the chunk exceed its column by (0 at a stop, minus
// the column's offset from the last stop at the chunk's start). In UTF-8 text `carry` marks the
// chunk's first bytes that belong to a character counted before it.
template <Text Kind> struct ChunkColumn {
    const char *known;
    int origin;
    Mask carry;
    const ShortStops &stops;
    const TwoByteWidths &narrow;

    // The origin of a chunk that starts at `column`: the column's offset from the last stop before
    // it, negated.
    int originAt(std::size_t column) const {
        return -static_cast<int>(column < ShortStops::columns ? stops.inStop(static_cast<unsigned>(column))
                                                              : columnInStop(column, stops.width()));
    }

    // Brings origin up to the chunk at p; the chunks between were plain and came out as they are.
    template <class Isa, bool Kept> void catchUp(const char *p) {
        if (known == p) return;
        const char *lineEnd = Lines<Kept>::template lastStart<Isa>(known, p);
        const auto before = static_cast<std::size_t>(-origin);
        std::size_t column = 0;
        if constexpr (Kind == Text::Ansi)
            column = lineEnd != nullptr ? static_cast<std::size_t>(p - lineEnd - 1)
                                        : before + static_cast<std::size_t>(p - known);
        else if (lineEnd != nullptr)
            column = utf8Columns(lineEnd + 1, p, 0, carry, narrow);
        else
            column = before + utf8Columns(known, p, carry, carry, narrow);
        origin = originAt(column);
        known = p;
    }
};

// Where a run of chunks that are not plain lines ended (see denseChunks).
struct DenseEnd {
    const char *p;
    char *out;
    bool stopped; // at a lone CR or an end mark
};
template <Text Kind>
using DenseChunks = DenseEnd (*)(const char *, char *, const char *, const char *, ChunkColumn<Kind> &);

// The origin for a chunk byte when the bytes from `copied` up to it hold no tab: at the last line
// start among them, or else the origin so far. `feedsBefore`: the chunk's line feeds before it.
template <class Columns>
inline int originAfter(Mask feedsBefore, unsigned copied, int origin, const Columns &columns) {
    const auto lineStart = static_cast<unsigned>(std::bit_width(feedsBefore));
    return lineStart > copied ? static_cast<int>(columns.before(lineStart)) : origin;
}

// The chunk's line feeds before byte `at` (of a tab, so below chunkBytes).
inline Mask feedsBelow(Mask lineFeeds, unsigned at) { return lineFeeds & ((Mask{1} << at) - 1); }

// Widens the tabs of a chunk with line feeds that was stored whole at `out` and returns the end of
// the output of its first `limit` bytes. After the spaces of each run of tabs (an indent takes one
// step: each tab after the first stands on a stop and takes a full width) the rest of the chunk is
// stored again.
template <class Isa, class Columns>
inline char *widenTabRuns(char *out, const char *p, Mask tabs, Mask lineFeeds, unsigned limit, int &origin,
                          const ShortStops &stops, const Columns &columns) {
    const unsigned width = stops.width();
    Mask runStarts = tabs & ~(tabs << 1);
    unsigned copied = 0; // bytes of the chunk already in the output
    while (runStarts != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(runStarts));
        runStarts &= runStarts - 1;
        origin = originAfter(feedsBelow(lineFeeds, at), copied, origin, columns);
        const auto tabsHere = static_cast<unsigned>(std::countr_zero(~(tabs >> at)));
        const unsigned run = stops.run(static_cast<unsigned>(static_cast<int>(columns.before(at)) - origin)) +
                             (tabsHere - 1) * width;
        out += at - copied;
        if (run > 48) [[unlikely]]
            std::memset(out, ' ', run);
        scan::storeSpaces48(out);
        out += run;
        copied = at + tabsHere;
        origin = static_cast<int>(columns.before(copied));
        Isa::store(out, Isa::load(p + copied));
    }
    origin = originAfter(lineFeeds & scan::bitsBelow(limit), copied, origin, columns);
    return out + (limit - copied);
}

// The same for a chunk without line feeds (as in tab-separated data), each tab a step of its own.
// With ShortGaps no 17 bytes in a row of the chunk are without a tab, so 16 bytes after a tab reach
// the next one or the chunk's end; otherwise the rest of the chunk is stored again.
template <class Isa, bool ShortGaps, class Columns>
inline char *widenEachTab(char *out, const char *p, Mask tabs, unsigned limit, int &origin,
                          const ShortStops &stops, const Columns &columns) {
    unsigned copied = 0;
    while (tabs != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(tabs));
        tabs &= tabs - 1;
        out += at - copied;
        scan::storeSpaces16(out);
        out += stops.run(static_cast<unsigned>(static_cast<int>(columns.before(at)) - origin));
        copied = at + 1;
        origin = static_cast<int>(columns.before(copied));
        if constexpr (ShortGaps)
            scan::copy16(out, p + copied);
        else
            Isa::store(out, Isa::load(p + copied));
    }
    return out + (limit - copied);
}

// The bytes of a chunk that the tab-stop rule looks at.
struct ChunkMarks {
    Mask tabs;
    Mask lineFeeds; // the bytes after which a line starts
    unsigned limit; // the first lone CR or end mark, or the chunk's size when none
};

template <class Isa, bool Kept> inline ChunkMarks marksOf(const char *p, const typename Isa::Chunk &chunk) {
    constexpr unsigned bytes = scan::chunkBytes;
    if constexpr (Kept)
        return {Isa::template positions<'\t'>(chunk), Isa::template positions<'\r', '\n'>(chunk), bytes};
    const Mask lineFeeds = Isa::template positions<'\n'>(chunk);
    // A CR whose LF opens the next chunk (readReach bytes are readable) is half of a pair too.
    const Mask pairedReturns = (lineFeeds >> 1) | (static_cast<Mask>(p[bytes] == '\n') << (bytes - 1));
    const Mask lonelyReturns = Isa::template positions<'\r'>(chunk) & ~pairedReturns;
    const Mask exits = lonelyReturns | Isa::template positions<scan::endOfTextMark>(chunk);
    return {Isa::template positions<'\t'>(chunk), lineFeeds, static_cast<unsigned>(std::countr_zero(exits))};
}

// Widens the tabs of a chunk stored whole at `out` and returns the end of its output; `origin` is
// moved on to the next chunk.
template <class Isa, class Columns>
inline char *widenChunk(char *out, const char *p, const ChunkMarks &marks, int &origin,
                        const ShortStops &stops, const Columns &columns) {
    const Mask tabs = marks.tabs & scan::bitsBelow(marks.limit);
    // Chunks of 32 bytes are cheaper stored again whole than checked for short gaps.
    if (marks.lineFeeds != 0)
        out = widenTabRuns<Isa>(out, p, tabs, marks.lineFeeds, marks.limit, origin, stops, columns);
    else if (scan::chunkBytes > 32 && scan::gapsAtMost16(marks.tabs))
        out = widenEachTab<Isa, true>(out, p, tabs, marks.limit, origin, stops, columns);
    else
        out = widenEachTab<Isa, false>(out, p, tabs, marks.limit, origin, stops, columns);
    // The column after the chunk is below ShortStops::columns: at most 15 + chunkBytes.
    origin = -static_cast<int>(
        stops.inStop(static_cast<unsigned>(static_cast<int>(columns.upTo(marks.limit)) - origin)));
    return out;
}

// Chunks that are not plain lines, one after another, for tab stops of 1 to 16 columns: each is
// stored whole and its tabs widened. Line ends come out as they are and only restart the column.
// Stops before a plain chunk, when fewer than readReach bytes are left after `lastStart` or the
// output is past outLimit; or at a lone CR or an end mark, with p at it.
template <class Isa, bool Kept, Text Kind>
inline DenseEnd denseChunks(const char *p, char *out, const char *lastStart, const char *outLimit,
                            ChunkColumn<Kind> &column) {
    constexpr unsigned bytes = scan::chunkBytes;
    typename Isa::Chunk chunk = Isa::load(p);
    ChunkMarks marks = marksOf<Isa, Kept>(p, chunk);
    // The column before the chunk matters only when no line starts ahead of its first tab; nor then
    // do the bytes of a character begun before the chunk.
    const auto firstTab = static_cast<unsigned>(std::countr_zero(marks.tabs));
    if ((marks.lineFeeds & scan::bitsBelow(std::min(firstTab, marks.limit))) == 0)
        column.template catchUp<Isa, Kept>(p);
    else
        column.carry = 0;
    int origin = column.origin;
    Mask carry = column.carry;
    for (;;) {
        Isa::store(out, chunk);
        if constexpr (Kind == Text::Utf8) {
            const Mask high = Isa::highBytes(chunk);
            if (high != 0)
                out = widenChunk<Isa>(out, p, marks, origin, column.stops,
                                      countColumns<Isa>(p, chunk, high, carry, column.narrow));
            else // as in ANSI text; no character goes on into this chunk, whose bytes are all ASCII
                out = widenChunk<Isa>(out, p, marks, origin, column.stops, Columns<true>{});
        } else {
            out = widenChunk<Isa>(out, p, marks, origin, column.stops, Columns<true>{});
        }
        p += marks.limit;
        if (marks.limit != bytes || p > lastStart || out > outLimit) break;
        chunk = Isa::load(p);
        marks = marksOf<Isa, Kept>(p, chunk);
        if (marks.tabs == 0 && marks.limit == bytes) break; // plain lines
    }
    const bool stopped = marks.limit != bytes;
    column.known = p;
    column.origin = origin;
    column.carry = stopped ? 0 : carry; // a chunk that stops early ends at a byte outside characters
    return {p, out, stopped};
}

// Out of line, so that the loop over plain chunks keeps its pointers and constants in registers.
template <bool Kept, Text Kind>
QM_NOINLINE DenseEnd denseChunksSse2(const char *p, char *out, const char *lastStart, const char *outLimit,
                                     ChunkColumn<Kind> &column) {
    return denseChunks<scan::Sse2, Kept, Kind>(p, out, lastStart, outLimit, column);
}

template <bool Kept, Text Kind>
QM_NOINLINE QM_AVX2_LOOP DenseEnd denseChunksAvx2(const char *p, char *out, const char *lastStart,
                                                  const char *outLimit, ChunkColumn<Kind> &column) {
    return denseChunks<scan::Avx2, Kept, Kind>(p, out, lastStart, outLimit, column);
}

// Chunks one after another while readReach bytes are readable and the output is not past
// outLimit. Most chunks of text are plain lines and are only stored. Under the window's line reading
// a lone CR or an end mark ends the run, with p at it.
template <class Isa, bool Kept, Text Kind, DenseChunks<Kind> dense>
inline const char *tabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                            const char *outLimit, const ShortStops &stops) {
    constexpr unsigned bytes = scan::chunkBytes;
    char *out = o;
    char *const first = out;
    const char *const lastStart = end - readReach;
    ChunkColumn<Kind> known{p, 0, 0, stops, twoByteWidths()};
    known.origin = known.originAt(column);
    const typename Lines<Kept>::template Plain<Isa> plainLines;
    bool stopped = false; // at a lone CR or an end mark
    while (!stopped && p <= lastStart && out <= outLimit) {
        // Plain chunks move p and out alike, so one bound keeps both within their limits.
        const char *const plainLast = p + std::min(lastStart - p, outLimit - out);
        do {
            const typename Isa::Chunk chunk = Isa::load(p);
            if (!plainLines(p, chunk)) {
                const DenseEnd after = dense(p, out, lastStart, outLimit, known);
                p = after.p;
                out = after.out;
                stopped = after.stopped;
                break;
            }
            Isa::store(out, chunk);
            out += bytes;
            p += bytes;
        } while (p <= plainLast);
    }
    known.template catchUp<Isa, Kept>(p);
    if (known.carry != 0) {
        // The last character goes on into the text after the chunks, its columns counted: the rest
        // of its bytes are copied here.
        const auto rest = static_cast<unsigned>(std::countr_one(known.carry));
        std::memcpy(out, p, rest);
        out += rest;
        p += rest;
    }
    if constexpr (!Kept) {
        if (!stopped && out != first && out[-1] == '\r') {
            // The last chunk ended inside a CR LF pair: its LF goes with it.
            *out++ = '\n';
            ++p;
            known.origin = 0;
        }
    }
    o = out;
    column = static_cast<std::size_t>(-known.origin);
    if constexpr (Kept) {
        lineOpen = lineOpen || out != first;
        return p;
    }
    // Outside a pair, a line feed is never stored right after a CR, so the output ends a line
    // exactly when it ends with CR LF.
    if (out != first) lineOpen = !(out - first >= 2 && out[-2] == '\r' && out[-1] == '\n');
    return p;
}

template <bool Kept, Text Kind>
QM_AVX2_LOOP const char *tabStopsAvx2(const char *p, const char *end, char *&o, std::size_t &column,
                                      bool &lineOpen, const char *outLimit, const ShortStops &stops) {
    return tabStops<scan::Avx2, Kept, Kind, denseChunksAvx2<Kept, Kind>>(p, end, o, column, lineOpen,
                                                                         outLimit, stops);
}

template <bool Kept, Text Kind>
const char *onActivePath(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                         const char *outLimit, const ShortStops &stops) {
    if (scan::activePath() == scan::Path::Avx2)
        return tabStopsAvx2<Kept, Kind>(p, end, o, column, lineOpen, outLimit, stops);
    return tabStops<scan::Sse2, Kept, Kind, denseChunksSse2<Kept, Kind>>(p, end, o, column, lineOpen,
                                                                         outLimit, stops);
}

} // namespace

const char *ansiTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                         const char *outLimit, const ShortStops &stops) {
    return onActivePath<false, Text::Ansi>(p, end, o, column, lineOpen, outLimit, stops);
}

const char *ansiKeptTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                             const char *outLimit, const ShortStops &stops) {
    return onActivePath<true, Text::Ansi>(p, end, o, column, lineOpen, outLimit, stops);
}

const char *utf8TabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                         const char *outLimit, const ShortStops &stops) {
    return onActivePath<false, Text::Utf8>(p, end, o, column, lineOpen, outLimit, stops);
}

const char *utf8KeptTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                             const char *outLimit, const ShortStops &stops) {
    return onActivePath<true, Text::Utf8>(p, end, o, column, lineOpen, outLimit, stops);
}

} // namespace chunks
#endif
