#include "engine/text_stream.h"

#include <algorithm>
#include <cstring>

#include "engine/byte_scan.h"
#include "engine/line_rules.h"
#include "engine/out_buffer.h"
#include "engine/tab_run.h"

namespace {

constexpr char endOfTextMark = '\x1A';
constexpr std::size_t stretchBytes = 4096;

// For a column below 64 of tab stops `width` apart (at most 16): the column's offset from the last
// stop, and the run of spaces a tab there gets. Looked up, so no division waits on the text.
class ShortStops {
public:
    explicit ShortStops(std::size_t width) {
        for (std::size_t column = 0; column < 64; ++column) {
            inStop_[column] = static_cast<std::uint8_t>(column % width);
            run_[column] = static_cast<std::uint8_t>(width - column % width);
        }
    }
    unsigned inStop(unsigned column) const { return inStop_[column]; }
    unsigned run(unsigned column) const { return run_[column]; }

private:
    std::uint8_t inStop_[64];
    std::uint8_t run_[64];
};

// Converts one stretch of input into output that already has room for the worst case, so the loop
// writes through a bare pointer with no checks. Stores may run up to 32 bytes past the write
// position; later writes cover them.
struct StretchWriter {
    char *o;
    char *columnStart; // output position of column `columnBase`
    std::size_t columnBase;
    int16_t width;
    const ShortStops *stops; // for widths 1 to 16
    bool lineOpen;
    bool pendingCr;
    bool textEnded;

    std::size_t column() const { return columnBase + static_cast<std::size_t>(o - columnStart); }
    bool shortStops() const { return width >= 1 && width <= 16; }
    void restartColumn(std::size_t at = 0) {
        columnBase = at;
        columnStart = o;
    }

    bool copyPlain(const char *&p, const char *stop, const char *end);
#ifdef QM_SSE2
    const char *chunksOfShortStops(const char *p, const char *stop, const char *end);
    void tabsOfChunk(const char *p, std::uint32_t tabs, unsigned &copied, int &origin);
    void tabsAndLineFeedsOfChunk(const char *p, std::uint32_t events, std::uint32_t tabs, unsigned &copied,
                                 int &origin);
#endif
    const char *special(const char *p, const char *stop, const char *end);
    const char *convert(const char *p, const char *stop, const char *end);
};

// Copies the bytes before the next special one, going no further than the stretch's stop (or, 16
// at a time, up to 15 bytes past it). Tells whether p stopped at a special byte.
inline bool StretchWriter::copyPlain(const char *&p, const char *stop, [[maybe_unused]] const char *end) {
#ifdef QM_SSE2
    if (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(o), block);
        const int mask = _mm_movemask_epi8(scan::matches<'\t', '\n', '\r', endOfTextMark>(block));
        const int skip = mask == 0 ? 16 : std::countr_zero(static_cast<unsigned>(mask));
        p += skip;
        o += skip;
        lineOpen = lineOpen || skip != 0;
        return mask != 0;
    }
#endif
    const char *found = scan::findFirstOf<'\t', '\n', '\r', endOfTextMark>(p, stop);
    std::memcpy(o, p, static_cast<std::size_t>(found - p));
    o += found - p;
    lineOpen = lineOpen || found != p;
    p = found;
    return p != stop;
}

// Handles the special byte at p; returns where reading goes on.
inline const char *StretchWriter::special(const char *p, const char *stop, const char *end) {
    switch (*p++) {
    case '\t': {
        std::size_t run = tabRun(width, column());
        // Indents are runs of tabs: each after the first stands on a stop and takes a full width.
        while (p < stop && *p == '\t') {
            ++p;
            run += static_cast<std::size_t>(width);
        }
        if (run <= 16)
            std::memcpy(o, "                ", 16);
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
// Bit i of mask, for i below 32.
inline bool bitAt(std::uint32_t mask, unsigned i) { return ((mask >> i) & 1u) != 0; }

// Places the tabs of a chunk without line feeds, given as a bit mask. `copied` counts the chunk's
// bytes already in the output, `origin` is the chunk index of column 0.
inline void StretchWriter::tabsOfChunk(const char *p, std::uint32_t tabs, unsigned &copied, int &origin) {
    while (tabs != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(tabs));
        tabs &= tabs - 1;
        o += at - copied;
        std::memcpy(o, "                ", 16);
        o += stops->run(static_cast<unsigned>(static_cast<int>(at) - origin));
        copied = at + 1;
        origin = static_cast<int>(at) + 1;
        scan::store32(o, scan::load32(p + copied));
    }
}

// The same with line feeds among the events: they are stored again from themselves and restart
// the column.
inline void StretchWriter::tabsAndLineFeedsOfChunk(const char *p, std::uint32_t events, std::uint32_t tabs,
                                                   unsigned &copied, int &origin) {
    while (events != 0) {
        const auto at = static_cast<unsigned>(std::countr_zero(events));
        events &= events - 1;
        // 1 for a tab, 0 for a line feed: arithmetic rather than a branch, since the two
        // alternate with the text.
        const unsigned tab = (tabs >> at) & 1u;
        o += at - copied;
        std::memcpy(o, "                ", 16);
        o += stops->run(static_cast<unsigned>(static_cast<int>(at) - origin)) & (0u - tab);
        copied = at + tab;
        origin = static_cast<int>(at) + 1;
        scan::store32(o, scan::load32(p + copied));
    }
}

// 32 bytes at a time while 64 are readable, for tab stops of at most 16 columns. In a chunk the
// output is the input with its tabs widened, so the chunk is stored whole and, after each tab's
// spaces, the rest of it again further on. CR LF pairs and lone LFs come out as they are and only
// restart the column, so they are stored again from themselves; a lone CR, a CR at the chunk's
// end or a mark leaves the loop for special(). Returns where reading goes on.
inline const char *StretchWriter::chunksOfShortStops(const char *p, const char *stop, const char *end) {
    // The chunk index where column 0 lies: at most 15 bytes before the chunk.
    int origin = -static_cast<int>(columnInStop(column(), static_cast<std::size_t>(width)));
    unsigned limit = 32;
    while (limit == 32 && p < stop && end - p >= 64) {
        const scan::Block32 block = scan::load32(p);
        scan::store32(o, block);
        const std::uint32_t tabs = scan::positions<'\t'>(block);
        const std::uint32_t lineFeeds = scan::positions<'\n'>(block);
        const std::uint32_t returns = scan::positions<'\r'>(block);
        const std::uint32_t exits = (returns & ~(lineFeeds >> 1)) | scan::positions<endOfTextMark>(block);
        limit = exits == 0 ? 32 : static_cast<unsigned>(std::countr_zero(exits));
        std::uint32_t events = (tabs | lineFeeds) & (limit == 32 ? ~0u : (1u << limit) - 1);
        unsigned copied = 0; // bytes of the chunk already placed in the output
        if (lineFeeds == 0)
            tabsOfChunk(p, events, copied, origin);
        else
            tabsAndLineFeedsOfChunk(p, events, tabs, copied, origin);
        o += limit - copied;
        p += limit;
        if (limit != 0)
            lineOpen = !(limit >= 2 && bitAt(lineFeeds, limit - 1) && bitAt(returns, limit - 2));
        // The next chunk starts at column limit - origin, at most 47.
        origin = -static_cast<int>(stops->inStop(static_cast<unsigned>(static_cast<int>(limit) - origin)));
    }
    restartColumn(static_cast<std::size_t>(-origin));
    return limit == 32 ? p : special(p, stop, end);
}
#endif

const char *StretchWriter::convert(const char *p, const char *stop, const char *end) {
    while (p < stop) {
#ifdef QM_SSE2
        if (shortStops() && end - p >= 64) {
            p = chunksOfShortStops(p, stop, end);
            continue;
        }
#endif
        if (copyPlain(p, stop, end))
            p = special(p, stop, end);
    }
    return p;
}

} // namespace

void TabStopConverter::feed(const char *data, std::size_t size, std::string &out) {
    if (textEnded_)
        return;
    const char *p = data;
    const char *const end = data + size;
    if (pendingCr_ && p != end) {
        pendingCr_ = false;
        if (*p == '\n')
            ++p;
    }
    // Every input byte gives at most maxRun output bytes (a tab), a stretch may overrun its end by
    // up to 33 input bytes (a 32-byte chunk, then a CR LF), and a store may overhang by 32 bytes.
    const std::size_t maxRun = std::max<std::size_t>(16, width_ > 0 ? static_cast<std::size_t>(width_) : 0);
    const std::size_t stretch = std::max<std::size_t>(16, stretchBytes / maxRun);
    OutBuffer buffer(out);
    char *o = buffer.cursor();
    const ShortStops stops(width_ >= 1 && width_ <= 16 ? static_cast<std::size_t>(width_) : 1);
    StretchWriter writer{o, o, column_, width_, &stops, lineOpen_, pendingCr_, false};
    while (p < end && !writer.textEnded) {
        const auto behind = static_cast<std::size_t>(writer.o - writer.columnStart);
        buffer.ensure(writer.o, (stretch + 34) * maxRun + 64);
        writer.columnStart = writer.o - behind;
        const char *stop = p + std::min<std::size_t>(stretch, static_cast<std::size_t>(end - p));
        p = writer.convert(p, stop, end);
    }
    buffer.commit(writer.o);
    column_ = width_ > 0 ? writer.column() % static_cast<std::size_t>(width_) : 0;
    lineOpen_ = writer.lineOpen;
    pendingCr_ = writer.pendingCr;
    textEnded_ = writer.textEnded;
}

void TabStopConverter::finish(std::string &out) {
    if (lineOpen_)
        out.append("\r\n", 2);
    lineOpen_ = false;
    pendingCr_ = false;
    textEnded_ = true;
}

FixedSpacesConverter::FixedSpacesConverter(int16_t numberOfSpaces) : run_(spacesPerTab(numberOfSpaces)) {}

void FixedSpacesConverter::feed(const char *data, std::size_t size, std::string &out) {
    appendFixedSpaces(data, size, run_, out);
}

void FixedSpacesConverter::finish(std::string &out) { out.append("\r\n", 2); }

void WholeReadCheck::feed(const char *data, std::size_t size) {
    const std::uint64_t lastByte = fileLength_ == 0 ? 0 : fileLength_ - 1;
    if (offset_ < lastByte) {
        const std::uint64_t before = lastByte - offset_;
        const std::size_t span = before < size ? static_cast<std::size_t>(before) : size;
        if (std::memchr(data, endOfTextMark, span) != nullptr)
            raiseError(err::InputPastEnd);
    }
    offset_ += size;
}
