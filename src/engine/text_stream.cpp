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

// Converts one stretch of input into output that already has room for the worst case, so the loop
// writes through a bare pointer with no checks. Stores may run up to 32 bytes past the write
// position; later writes cover them.
struct StretchWriter {
    char *o;
    char *columnStart; // output position of column `columnBase`
    std::size_t columnBase;
    int16_t width;
    std::uint64_t reciprocal; // 2^32 / width, rounded up; for shortColumnInStop
    bool lineOpen;
    bool pendingCr;
    bool textEnded;

    std::size_t column() const { return columnBase + static_cast<std::size_t>(o - columnStart); }
    bool shortStops() const { return width >= 1 && width <= 16; }

    // columnInStop without a branch that depends on the text: indents (column 0) and tabs after
    // text alternate unpredictably. Multiplying by a rounded-up 2^32 / width gives the exact
    // quotient for columns below 2^27 when the width is at most 16.
    std::size_t shortColumnInStop(std::size_t at) const {
        const auto w = static_cast<std::uint64_t>(width);
        if (at >= (std::size_t{1} << 27))
            return columnInStop(at, static_cast<std::size_t>(w));
        return static_cast<std::size_t>(at - ((at * reciprocal) >> 32) * w);
    }
    void restartColumn() {
        columnBase = 0;
        columnStart = o;
    }

    bool copyPlain(const char *&p, const char *stop, const char *end);
#ifdef QM_SSE2
    const char *chunkOfShortStops(const char *p, const char *stop, const char *end);
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
// 32 bytes with tab stops of at most 16 columns, where 64 bytes are readable: every tab before the
// first line end or mark is handled here without leaving the chunk, the rest of the chunk is
// stored again after each tab's spaces. Returns where reading goes on.
inline const char *StretchWriter::chunkOfShortStops(const char *p, const char *stop, const char *end) {
    const scan::Block32 block = scan::load32(p);
    scan::store32(o, block);
    const std::uint32_t others = scan::positions<'\n', '\r', endOfTextMark>(block);
    const unsigned limit = others == 0 ? 32 : static_cast<unsigned>(std::countr_zero(others));
    std::uint32_t pending = scan::positions<'\t'>(block) & (limit == 32 ? ~0u : (1u << limit) - 1);
    unsigned copied = 0; // bytes of the chunk already placed in the output
    while (pending != 0) {
        const auto tab = static_cast<unsigned>(std::countr_zero(pending));
        pending &= pending - 1;
        o += tab - copied;
        const std::size_t at = column();
        std::memcpy(o, "                ", 16);
        o += static_cast<std::size_t>(width) - shortColumnInStop(at);
        restartColumn();
        copied = tab + 1;
        scan::store32(o, scan::load32(p + copied));
    }
    o += limit - copied;
    lineOpen = lineOpen || limit != 0;
    p += limit;
    return limit == 32 ? p : special(p, stop, end);
}
#endif

const char *StretchWriter::convert(const char *p, const char *stop, const char *end) {
    while (p < stop) {
#ifdef QM_SSE2
        if (shortStops() && end - p >= 64) {
            p = chunkOfShortStops(p, stop, end);
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
    const std::uint64_t reciprocal =
        width_ > 0 ? ((std::uint64_t{1} << 32) + static_cast<std::uint64_t>(width_) - 1) /
                         static_cast<std::uint64_t>(width_)
                   : 0;
    StretchWriter writer{o, o, column_, width_, reciprocal, lineOpen_, pendingCr_, false};
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
