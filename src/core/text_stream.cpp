#include "text_stream.h"

#include <algorithm>
#include <cstring>

#include "byte_scan.h"
#include "line_rules.h"
#include "out_buffer.h"
#include "tab_run.h"

namespace {

constexpr char endOfTextMark = '\x1A';
constexpr char sixteenSpaces[] = "                ";

// Plain bytes copied per step of the byte-wise path: it bounds a step's tab run as well.
constexpr std::size_t pieceBytes = 16;

#ifdef QM_SSE2
// The chunked path reads up to this many bytes from the start of a chunk.
constexpr std::size_t chunkReach = 2 * scan::chunkBytes;

#endif

// Writes the converted text through a bare pointer into output that the caller has made room for,
// a step at a time: whole chunks where the tab stops are short and enough text is left, or else up
// to 16 plain bytes and the special byte after them.
struct LineWriter {
    char *o;
    char *columnStart; // output position of column `columnBase`
    std::size_t columnBase;
    int16_t width;
    bool lineOpen;
    bool pendingCr;
    bool textEnded = false;

    std::size_t column() const { return columnBase + static_cast<std::size_t>(o - columnStart); }
    void restartColumn(std::size_t at = 0) {
        columnBase = at;
        columnStart = o;
    }

    const char *piece(const char *p, const char *end);
    const char *special(const char *p, const char *stop, const char *end);
#ifdef QM_SSE2
    template <class Isa>
    const char *chunks(const char *p, const char *end, const char *outLimit, const ShortStops &stops);
    const char *chunksSse2(const char *p, const char *end, const char *outLimit, const ShortStops &stops);
    QM_AVX2_LOOP const char *chunksAvx2(const char *p, const char *end, const char *outLimit,
                                        const ShortStops &stops);
#endif
};

// Output room one step may need: a piece's bytes and tab run, or a chunk (at most 64 bytes) in which
// every byte is a tab of 16 spaces; and the stores that reach past the written text.
std::size_t stepRoom(int16_t width) {
    const std::size_t maxRun = std::max<std::size_t>(16, width > 0 ? static_cast<std::size_t>(width) : 0);
    return std::max<std::size_t>(pieceBytes * (maxRun + 1), 64 * 16) + 128;
}

const char *LineWriter::piece(const char *p, const char *end) {
    const char *stop = p + std::min<std::size_t>(pieceBytes, static_cast<std::size_t>(end - p));
    const char *found = scan::findFirstOf<'\t', '\n', '\r', endOfTextMark>(p, stop);
    std::memcpy(o, p, static_cast<std::size_t>(found - p));
    o += found - p;
    lineOpen = lineOpen || found != p;
    return found == stop ? found : special(found, stop, end);
}

// Handles the tab, line feed, carriage return or end mark at p; returns where reading goes on.
const char *LineWriter::special(const char *p, const char *stop, const char *end) {
    switch (*p++) {
    case '\t': {
        std::size_t run = tabRun(width, column());
        // Indents are runs of tabs: each after the first stands on a stop and takes a full width.
        while (p < stop && *p == '\t') {
            ++p;
            run += static_cast<std::size_t>(width);
        }
        if (run <= 16)
            std::memcpy(o, sixteenSpaces, 16);
        else
            std::memset(o, ' ', run);
        o += run;
        restartColumn(); // a tab ends on a stop
        lineOpen = true;
        return p;
    }
    case '\n':
        *o++ = '\n';
        restartColumn();
        lineOpen = true;
        return p;
    case '\r':
        *o++ = '\r';
        *o++ = '\n';
        restartColumn();
        lineOpen = false;
        if (p == end)
            pendingCr = true;
        else if (*p == '\n')
            ++p;
        return p;
    default: textEnded = true; return end;
    }
}

#ifdef QM_SSE2
// Places the tabs of a chunk without line feeds whose gaps are at most 16 bytes, as in tab-separated
// data. `copied` counts the chunk's bytes already in the output, `origin` is the chunk index of
// column 0.
inline void placeShortGapTabs(char *&out, const char *p, scan::ChunkMask tabs, unsigned &copied, int &origin,
                              const ShortStops &stops) {
    while (tabs != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(tabs));
        tabs &= tabs - 1;
        out += at - copied;
        std::memcpy(out, sixteenSpaces, 16);
        out += stops.run(static_cast<unsigned>(static_cast<int>(at) - origin));
        copied = at + 1;
        origin = static_cast<int>(at) + 1;
        scan::copyAhead<true>(out, p + copied, 0);
    }
}

// The same for any chunk. A run of tabs, as an indent is, counts as one: each tab after the first
// stands on a stop and takes a full width. Line feeds restart the column and are stored again from
// themselves; no branch tells them from tabs, since the two alternate with the text.
inline void placeTabRunsAndLineFeeds(char *&out, const char *p, scan::ChunkMask tabs,
                                     scan::ChunkMask lineFeeds, unsigned limit, unsigned &copied, int &origin,
                                     const ShortStops &stops, unsigned width) {
    const scan::ChunkMask runStarts = tabs & ~(tabs << 1);
    scan::ChunkMask events = (runStarts | lineFeeds) & scan::bitsBelow(limit);
    while (events != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(events));
        events &= events - 1;
        const auto tabsHere = static_cast<unsigned>(std::countr_zero(~(tabs >> at))); // 0 at a line feed
        const unsigned firstRun = stops.run(static_cast<unsigned>(static_cast<int>(at) - origin));
        const unsigned run = (firstRun + (tabsHere - 1) * width) & (0u - (tabsHere != 0));
        out += at - copied;
        if (run > 48) [[unlikely]]
            std::memset(out, ' ', run);
        scan::storeSpaces48(out);
        out += run;
        copied = at + tabsHere;
        origin = static_cast<int>(copied + (tabsHere == 0));
        scan::copyAhead<false>(out, p + copied, static_cast<unsigned>(std::countr_zero(events)) - copied);
    }
}

// The origin (see below) of a chunk whose output starts at `column`: the column's offset from the
// last stop before it, negated.
inline int originAt(std::size_t column, const ShortStops &stops, unsigned width) {
    return -static_cast<int>(column < ShortStops::columns ? stops.inStop(static_cast<unsigned>(column))
                                                          : columnInStop(column, width));
}

// Chunks one after another, for tab stops of 1 to 16 columns, while chunkReach bytes are readable
// and the output is not past outLimit. Within a chunk the output is the input with its tabs
// widened: the chunk is stored whole, and after each tab's spaces the text up to the next tab again
// further on. CR LF pairs and lone LFs come out as they are and only restart the column, so a chunk
// without tabs is only stored, and the column is found again from the output when a tab comes.
// A lone CR or an end mark ends the run and goes to special().
template <class Isa>
inline const char *LineWriter::chunks(const char *p, const char *end, const char *outLimit,
                                      const ShortStops &stops) {
    using scan::ChunkMask;
    constexpr unsigned bytes = scan::chunkBytes;
    const auto stopWidth = static_cast<unsigned>(width);
    char *out = o; // locals, so the loop keeps them in registers
    char *const first = out;
    // `origin` is the chunk index of column 0 (at most 15 bytes before the chunk) for the chunk
    // whose output starts at `known`.
    char *known = out;
    int origin = originAt(column(), stops, stopWidth);
    // Brings origin up to the chunk whose output starts at `out`.
    auto originHere = [&] {
        if (known == out) return;
        const char *lineFeed = Isa::lastLineFeed(known, out);
        const std::size_t column =
            lineFeed != nullptr ? static_cast<std::size_t>(out - lineFeed - 1)
                                : static_cast<std::size_t>(-origin) + static_cast<std::size_t>(out - known);
        origin = originAt(column, stops, stopWidth);
        known = out;
    };
    unsigned limit = bytes;
    do {
        const typename Isa::Chunk chunk = Isa::load(p);
        Isa::store(out, chunk);
        if (Isa::plainLines(p, chunk)) {
            out += bytes;
            p += bytes;
            continue;
        }
        originHere();
        const ChunkMask tabs = Isa::template positions<'\t'>(chunk);
        const ChunkMask lineFeeds = Isa::template positions<'\n'>(chunk);
        // A CR whose LF opens the next chunk (chunkReach bytes are readable) is half of a pair too.
        const ChunkMask pairedReturns =
            (lineFeeds >> 1) | (static_cast<ChunkMask>(p[bytes] == '\n') << (bytes - 1));
        const ChunkMask lonelyReturns = Isa::template positions<'\r'>(chunk) & ~pairedReturns;
        const ChunkMask exits = lonelyReturns | Isa::template positions<endOfTextMark>(chunk);
        limit = static_cast<unsigned>(std::countr_zero(exits)); // bytes when none
        unsigned copied = 0; // bytes of the chunk already placed in the output
        if (limit == bytes && lineFeeds == 0 && scan::gapsAtMost16(tabs))
            placeShortGapTabs(out, p, tabs, copied, origin, stops);
        else
            placeTabRunsAndLineFeeds(out, p, tabs, lineFeeds, limit, copied, origin, stops, stopWidth);
        out += limit - copied;
        p += limit;
        // The column after the chunk is limit - origin, below ShortStops::columns.
        origin = -static_cast<int>(stops.inStop(static_cast<unsigned>(static_cast<int>(limit) - origin)));
        known = out;
    } while (limit == bytes && static_cast<std::size_t>(end - p) >= chunkReach && out <= outLimit);
    originHere();
    if (limit == bytes && out != first && out[-1] == '\r') {
        // The last chunk ended inside a CR LF pair: its LF goes with it.
        *out++ = '\n';
        ++p;
        origin = 0;
    }
    o = out;
    restartColumn(static_cast<std::size_t>(-origin));
    // Outside a pair, a line feed is never stored right after a CR, so the output ends a line
    // exactly when it ends with CR LF.
    if (out != first) lineOpen = !(out - first >= 2 && out[-2] == '\r' && out[-1] == '\n');
    return limit == bytes ? p : special(p, end, end);
}

const char *LineWriter::chunksSse2(const char *p, const char *end, const char *outLimit,
                                   const ShortStops &stops) {
    return chunks<scan::Sse2>(p, end, outLimit, stops);
}

QM_AVX2_LOOP const char *LineWriter::chunksAvx2(const char *p, const char *end, const char *outLimit,
                                                const ShortStops &stops) {
    return chunks<scan::Avx2>(p, end, outLimit, stops);
}
#endif

} // namespace

std::string_view TabStopConverter::convert(const char *data, std::size_t size) {
    if (textEnded_) return {};
    const char *p = data;
    const char *const end = data + size;
    if (pendingCr_ && p != end) {
        pendingCr_ = false;
        if (*p == '\n') ++p;
    }
    OutBuffer buffer = OutBuffer::overwriting(scratch_);
    const std::size_t room = stepRoom(width_);
    char *o = buffer.cursor();
    LineWriter writer{o, o, column_, width_, lineOpen_, pendingCr_};
#ifdef QM_SSE2
    const bool shortStops = width_ >= 1 && width_ <= 16;
    const ShortStops stops(shortStops ? static_cast<unsigned>(width_) : 1);
    const bool avx2 = scan::activePath() == scan::Path::Avx2;
#endif
    while (p < end && !writer.textEnded) {
        const auto behind = static_cast<std::size_t>(writer.o - writer.columnStart);
        buffer.ensure(writer.o, room);
        writer.columnStart = writer.o - behind;
#ifdef QM_SSE2
        if (shortStops && static_cast<std::size_t>(end - p) >= chunkReach) {
            p = avx2 ? writer.chunksAvx2(p, end, buffer.lastStartFor(room), stops)
                     : writer.chunksSse2(p, end, buffer.lastStartFor(room), stops);
            continue;
        }
#endif
        p = writer.piece(p, end);
    }
    buffer.commit(writer.o);
    column_ = width_ > 0 ? writer.column() % static_cast<std::size_t>(width_) : 0;
    lineOpen_ = writer.lineOpen;
    pendingCr_ = writer.pendingCr;
    textEnded_ = writer.textEnded;
    return {scratch_.data(), buffer.written()};
}

void TabStopConverter::finish(std::string &out) {
    if (lineOpen_) out.append("\r\n", 2);
    lineOpen_ = false;
    pendingCr_ = false;
    textEnded_ = true;
}

FixedSpacesConverter::FixedSpacesConverter(int16_t numberOfSpaces) : run_(spacesPerTab(numberOfSpaces)) {}

std::string_view FixedSpacesConverter::convert(const char *data, std::size_t size) {
    OutBuffer buffer = OutBuffer::overwriting(scratch_);
    writeFixedSpaces(data, size, run_, buffer);
    return {scratch_.data(), buffer.written()};
}

void FixedSpacesConverter::finish(std::string &out) { out.append("\r\n", 2); }

void WholeReadCheck::feed(const char *data, std::size_t size) {
    const std::uint64_t lastByte = fileLength_ == 0 ? 0 : fileLength_ - 1;
    if (offset_ < lastByte) {
        const std::uint64_t before = lastByte - offset_;
        const std::size_t span = before < size ? static_cast<std::size_t>(before) : size;
        if (std::memchr(data, endOfTextMark, span) != nullptr) raiseError(err::InputPastEnd);
    }
    offset_ += size;
}
