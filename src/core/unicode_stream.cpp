#include "unicode_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "byte_scan.h"
#include "display_width.h"
#include "line_rules.h"
#include "out_buffer.h"
#include "tab_run.h"

namespace {

constexpr char endOfTextMark = '\x1A';
constexpr unsigned char utf8Bom[3] = {0xEF, 0xBB, 0xBF};

// ASCII bytes scanned per room check of the output.
constexpr std::size_t spanBytes = 4096;

// Printable ASCII (and DEL): a byte that is one column and needs no look.
inline bool plainAscii(char c) { return static_cast<signed char>(c) >= 0x20; }

// Copies the plain ASCII bytes from p on, up to limit, to o, and returns where they end. The output
// needs 16 bytes of room past the copied ones.
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

// Characters of two bytes (U+0080 to U+07FF), the letters of Latin, Greek, Cyrillic, Hebrew and
// Arabic text, take one column or, as combining marks, none: which take none is kept as bits, so
// that they need no search of the width table.
class TwoByteWidths {
public:
    TwoByteWidths() {
        for (char32_t cp = 0x80; cp < 0x800; ++cp)
            if (displayWidth(cp) == 0) zero_[cp / 32] |= std::uint32_t{1} << (cp % 32);
    }
    unsigned of(char32_t cp) const { return 1 - (zero_[cp / 32] >> (cp % 32) & 1); }

private:
    std::uint32_t zero_[0x800 / 32] = {};
};

const TwoByteWidths &twoByteWidths() {
    static const TwoByteWidths widths;
    return widths;
}

#ifdef QM_SSE2
// Whole chunks at a time, as the ANSI converter reads them: a chunk is as many bytes as a machine
// word has bits, so the bit masks of its bytes are single words. The masks are kept here rather than
// shared, so that the ANSI path may change its own chunks without changing the columns counted below;
// the plain stores are the ANSI path's.
namespace chunk {

using scan::copyAhead;
using scan::storeSpaces48;

using Mask = std::uintptr_t;
constexpr unsigned bytes = 8 * sizeof(Mask);
constexpr int parts = bytes / 16;

// Bytes that a chunk step may read from its start: the chunk and the text copied after its tabs.
constexpr std::size_t reach = 2 * bytes;

// Output room one step of chunks needs: a chunk in which every byte is a tab of 16 spaces, and
// the stores that reach past the written text.
constexpr std::size_t stepRoom = bytes * 16 + 128;

struct Chunk {
    __m128i part[parts];
};

inline Chunk load(const char *p) {
    Chunk c;
    for (int i = 0; i < parts; ++i)
        c.part[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
    return c;
}

inline void store(char *o, const Chunk &c) {
    for (int i = 0; i < parts; ++i) _mm_storeu_si128(reinterpret_cast<__m128i *>(o + 16 * i), c.part[i]);
}

// Bit i set where `test` holds for byte i; `test` turns 16 bytes into 0xFF or 0 per byte.
template <typename Test> inline Mask bitsWhere(const Chunk &c, Test test) {
    Mask bits = 0;
    for (int i = 0; i < parts; ++i) {
        const auto part = static_cast<std::uint32_t>(_mm_movemask_epi8(test(c.part[i])));
        bits |= static_cast<Mask>(part) << (16 * i);
    }
    return bits;
}

template <char Byte> inline Mask positions(const Chunk &c) {
    return bitsWhere(c, [](__m128i v) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(Byte)); });
}

// Bytes of 0x80 and up: their sign bits as they are.
inline Mask highBytes(const Chunk &c) {
    return bitsWhere(c, [](__m128i v) { return v; });
}

// Continuation bytes, 0x80 to 0xBF: below -64 as signed bytes.
inline Mask continuationBytes(const Chunk &c) {
    return bitsWhere(c, [](__m128i v) { return _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(0xC0))); });
}

// The bits below `limit` (at most `bytes`).
inline Mask bitsBelow(unsigned limit) { return limit >= bytes ? ~Mask{0} : (Mask{1} << limit) - 1; }

// Set bits, without the library call that std::popcount becomes where the processor has no
// instruction for it.
inline unsigned ones(Mask m) {
    if constexpr (sizeof(Mask) == 8) {
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

// True when no 17 bytes in a row are unmarked: then 16 bytes copied after each mark reach the next
// one, or the chunk's end.
inline bool gapsAtMost16(Mask marks) {
    Mask gap = ~marks;
    gap &= gap >> 1;
    gap &= gap >> 2;
    gap &= gap >> 4;
    gap &= gap >> 8;
    gap &= ~marks >> 16;
    return gap == 0;
}

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
            return at - ones(uncounted & bitsBelow(at));
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
inline Columns<false> countColumns(const char *p, const Chunk &c, Mask high, Mask &carry, unsigned &spill,
                                   const TwoByteWidths &narrow) {
    Mask leads = high & ~continuationBytes(c);
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
        std::memcpy(out, "                ", 16);
        out += stops.run(static_cast<unsigned>(static_cast<int>(columns.before(at)) - base));
        copied = at + 1;
        base = static_cast<int>(columns.before(copied));
        copyAhead<true>(out, p + copied, 0);
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
    Mask events = (runStarts | lineFeeds) & bitsBelow(limit);
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
        storeSpaces48(out);
        out += run;
        copied = at + tabsHere;
        base = static_cast<int>(columns.before(copied + (tabsHere == 0)));
        copyAhead<false>(out, p + copied, static_cast<unsigned>(std::countr_zero(events)) - copied);
    }
}

template <bool Ascii>
inline void placeChunk(char *&out, const char *p, Mask tabs, Mask lineFeeds, unsigned limit, int &base,
                       const ShortStops &stops, unsigned width, const Columns<Ascii> &columns) {
    unsigned copied = 0;
    if (limit == bytes && lineFeeds == 0 && gapsAtMost16(tabs))
        placeShortGapTabs(out, p, tabs, copied, base, stops, columns);
    else
        placeTabRunsAndLineFeeds(out, p, tabs, lineFeeds, limit, copied, base, stops, width, columns);
    out += limit - copied;
    // The column after the chunk is at most 15 + bytes.
    base = -static_cast<int>(
        stops.inStop(static_cast<unsigned>(static_cast<int>(columns.before(limit)) - base)));
}

// Chunks one after another, for tab stops `width` (1 to 16) apart, while chunk::reach bytes are
// readable and the output is not past outLimit. Within a chunk the output is the input with its
// tabs widened; CR LF pairs and lone LFs come out as they are and only restart the column. Stops
// before a lone CR, a CR whose LF is in the next chunk, or an end mark, for the byte-wise steps.
const char *convertChunks(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                          const char *outLimit, const ShortStops &stops, unsigned width) {
    char *out = o; // locals, so the loop keeps them in registers
    char *const first = out;
    int base = -static_cast<int>(columnInStop(column, width));
    Mask carry = 0;
    unsigned spill = 0;
    const TwoByteWidths &narrow = twoByteWidths();
    unsigned limit = 0;
    do {
        const Chunk c = load(p);
        store(out, c);
        const Mask tabs = positions<'\t'>(c);
        const Mask lineFeeds = positions<'\n'>(c);
        const Mask lonelyReturns = positions<'\r'>(c) & ~(lineFeeds >> 1);
        const Mask exits = lonelyReturns | positions<endOfTextMark>(c);
        limit = static_cast<unsigned>(std::countr_zero(exits)); // `bytes` when none
        const Mask high = highBytes(c);
        if (high == 0) // as in ANSI text: a byte is a column
            placeChunk(out, p, tabs, lineFeeds, limit, base, stops, width, Columns<true>{});
        else
            placeChunk(out, p, tabs, lineFeeds, limit, base, stops, width,
                       countColumns(p, c, high, carry, spill, narrow));
        p += limit;
    } while (limit == bytes && static_cast<std::size_t>(end - p) >= reach && out <= outLimit);
    column = static_cast<std::size_t>(-base);
    if (limit == bytes && spill != 0) {
        // The last character goes on into the text after the chunks: its bytes there are copied
        // here, and the columns put on them counted.
        std::memcpy(out, p, spill);
        out += spill;
        p += spill;
        column += spill - ones(carry);
    }
    o = out;
    // A line feed never starts a chunk's output right after a CR, so the output ends a line
    // exactly when it ends with CR LF.
    if (out != first) lineOpen = !(out - first >= 2 && out[-2] == '\r' && out[-1] == '\n');
    return p;
}

} // namespace chunk
#endif

} // namespace

Utf8TabStopConverter::Utf8TabStopConverter(int16_t width, bool withBom)
    : width_(width), bomLeft_(withBom ? 3 : 0) {
    // Columns past the table, and widths of 0 or less (which fail at the first tab), go to tabRun().
    for (std::size_t column = 0; column < shortRuns; ++column)
        runs_[column] = width > 0 ? static_cast<std::uint16_t>(tabRun(width, column)) : 0;
}

struct Utf8TabStopConverter::Writer {
    OutBuffer &buffer;
    char *o;

    void room(std::size_t n) { buffer.ensure(o, n); }
    void byte(char c) {
        room(1);
        *o++ = c;
    }
};

// Completes a sequence that the previous block cut, from the first bytes of this one. A sequence
// that turns out ill formed gives its bytes one column each; the byte that told is read again.
const char *Utf8TabStopConverter::completePending(const char *p, const char *end, Writer &writer) {
    while (pendingSize_ != 0 && p != end) {
        pending_[pendingSize_++] = static_cast<unsigned char>(*p++);
        unsigned length = 0;
        char32_t cp = 0;
        const utf8::Step step = utf8::sequence(pending_, pending_ + pendingSize_, length, cp);
        if (step == utf8::Step::Incomplete) continue;
        if (step == utf8::Step::Complete) {
            column_ += displayWidth(cp);
        } else {
            --p;
            --pendingSize_;
            column_ += pendingSize_;
        }
        writer.room(4);
        std::memcpy(writer.o, pending_, pendingSize_);
        writer.o += pendingSize_;
        pendingSize_ = 0;
    }
    return p;
}

std::string_view Utf8TabStopConverter::convert(const char *data, std::size_t size) {
    if (textEnded_) return {};
    OutBuffer buffer = OutBuffer::overwriting(scratch_);
    Writer w{buffer, buffer.cursor()};
    const char *p = data;
    const char *const end = data + size;
    for (; bomLeft_ != 0 && p != end; ++p, --bomLeft_) {
        if (static_cast<unsigned char>(*p) != utf8Bom[3 - bomLeft_]) {
            bomLeft_ = 0; // no BOM after all: the bytes are text
            break;
        }
        w.byte(*p);
    }
    if (pendingCr_ && p != end) {
        pendingCr_ = false;
        if (*p == '\n') ++p;
    }
    p = completePending(p, end, w);
    // Room is made once per span of input, for the most a byte can give (a tab's run and the
    // 16-byte stores that reach past it), so the loop below writes without checks.
    const std::size_t byteRoom =
        std::max<std::size_t>(16, width_ > 0 ? static_cast<std::size_t>(width_) : 0) + 16;
    const std::size_t span = std::clamp<std::size_t>((64 * 1024) / byteRoom, 1, spanBytes);
    std::size_t column = column_;
    bool lineOpen = lineOpen_;
    char *o = w.o;
    const TwoByteWidths &narrow = twoByteWidths();
#ifdef QM_SSE2
    const bool chunked = width_ >= 1 && width_ <= 16;
    const ShortStops stops(chunked ? static_cast<unsigned>(width_) : 1);
#endif
    while (p != end) {
        std::size_t stepBytes = span;
#ifdef QM_SSE2
        if (chunked && static_cast<std::size_t>(end - p) >= chunk::reach) {
            buffer.ensure(o, chunk::stepRoom);
            p = chunk::convertChunks(p, end, o, column, lineOpen, buffer.lastStartFor(chunk::stepRoom), stops,
                                     static_cast<unsigned>(width_));
            // What stopped the chunks (a CR, the end mark, the output's room) takes a byte-wise
            // step; then chunks go on.
            stepBytes = 1;
        }
#endif
        const char *limit = p + std::min<std::size_t>(stepBytes, static_cast<std::size_t>(end - p));
        buffer.ensure(o, static_cast<std::size_t>(limit - p) * byteRoom + 32);
        while (p < limit) {
            const char *plainEnd = copyPlainAscii(p, limit, o);
            if (plainEnd != p) {
                column += static_cast<std::size_t>(plainEnd - p);
                lineOpen = true;
                p = plainEnd;
                if (p == limit) break;
            }
            const char c = *p;
            if (static_cast<unsigned char>(c) >= 0x80) {
                // A sequence may reach past the span's limit, never past the block's end.
                const auto *u = reinterpret_cast<const unsigned char *>(p);
                lineOpen = true;
                if (u[0] >= 0xC2 && u[0] < 0xE0 && end - p >= 2 && (u[1] & 0xC0) == 0x80) {
                    // Two bytes, as Latin, Greek and Cyrillic letters are: decoded here.
                    const char32_t cp = static_cast<char32_t>((u[0] & 0x1F) << 6 | (u[1] & 0x3F));
                    column += narrow.of(cp);
                    std::memcpy(o, p, 2);
                    o += 2;
                    p += 2;
                    continue;
                }
                unsigned length = 1;
                char32_t cp = 0;
                const utf8::Step step = utf8::sequence(u, u + (end - p), length, cp);
                if (step == utf8::Step::Incomplete) {
                    pendingSize_ = static_cast<unsigned>(end - p);
                    std::memcpy(pending_, p, pendingSize_);
                    p = end;
                    break;
                }
                column += step == utf8::Step::Complete ? displayWidth(cp) : 1;
                if (end - p >= 4)
                    std::memcpy(o, p, 4); // the bytes past the sequence are overwritten next
                else
                    std::memcpy(o, p, length);
                o += length;
                p += length;
                continue;
            }
            ++p;
            switch (c) {
            case '\t': {
                const std::size_t run =
                    column < shortRuns && runs_[column] != 0 ? runs_[column] : tabRun(width_, column);
                if (run <= 16)
                    std::memcpy(o, "                ", 16);
                else
                    std::memset(o, ' ', run);
                o += run;
                column = 0; // a tab ends on a stop
                lineOpen = true;
                break;
            }
            case '\n':
                *o++ = '\n';
                column = 0;
                lineOpen = true;
                break;
            case '\r':
                *o++ = '\r';
                *o++ = '\n';
                column = 0;
                lineOpen = false;
                if (p == end)
                    pendingCr_ = true;
                else if (*p == '\n')
                    ++p;
                break;
            case endOfTextMark:
                textEnded_ = true;
                p = end;
                break;
            default: // another control byte: one column
                *o++ = c;
                ++column;
                lineOpen = true;
                break;
            }
        }
    }
    column_ = column;
    lineOpen_ = lineOpen;
    buffer.commit(o);
    return {scratch_.data(), buffer.written()};
}

void Utf8TabStopConverter::finish(std::string &out) {
    if (pendingSize_ != 0) { // the text ends inside a sequence: its bytes are kept
        out.append(reinterpret_cast<const char *>(pending_), pendingSize_);
        pendingSize_ = 0;
        lineOpen_ = true;
    }
    if (lineOpen_) out.append("\r\n", 2);
    lineOpen_ = false;
    pendingCr_ = false;
    textEnded_ = true;
}

Utf16Converter::Utf16Converter(Rule rule, int16_t number, bool bigEndian)
    : rule_(rule), width_(number), run_(rule == Rule::FixedSpaces ? spacesPerTab(number) : 0),
      bigEndian_(bigEndian) {}

void Utf16Converter::put(char *&o, char16_t u) const {
    const auto high = static_cast<char>(u >> 8);
    const auto low = static_cast<char>(u & 0xFF);
    o[0] = bigEndian_ ? high : low;
    o[1] = bigEndian_ ? low : high;
    o += 2;
}

void Utf16Converter::unit(char16_t u, char *&o) {
    if (atStart_) {
        atStart_ = false;
        if (u == 0xFEFF) { // the BOM: kept, and no text
            put(o, u);
            return;
        }
    }
    if (rule_ == Rule::FixedSpaces) {
        if (u != '\t') {
            put(o, u);
            return;
        }
        for (std::size_t i = 0; i < run_; ++i) put(o, u' ');
        return;
    }
    if (pendingCr_) {
        pendingCr_ = false;
        if (u == '\n') return;
    }
    const bool low = u >= 0xDC00 && u <= 0xDFFF;
    if (pendingHigh_) {
        pendingHigh_ = false;
        if (low) { // the pair's character replaces the column its high half took
            const char32_t cp = 0x10000 + ((static_cast<char32_t>(prevHigh_) - 0xD800) << 10) + (u - 0xDC00);
            column_ = column_ - 1 + displayWidth(cp);
            put(o, u);
            return;
        }
    }
    switch (u) {
    case u'\t': {
        const std::size_t run = tabRun(width_, column_);
        for (std::size_t i = 0; i < run; ++i) put(o, u' ');
        column_ = 0;
        lineOpen_ = true;
        return;
    }
    case u'\n':
        put(o, u);
        column_ = 0;
        lineOpen_ = true;
        return;
    case u'\r':
        put(o, u'\r');
        put(o, u'\n');
        column_ = 0;
        lineOpen_ = false;
        pendingCr_ = true;
        return;
    case u'\x1A': textEnded_ = true; return;
    default:
        put(o, u);
        lineOpen_ = true;
        if (u >= 0xD800 && u <= 0xDBFF) {
            pendingHigh_ = true;
            prevHigh_ = u;
            ++column_;
        } else {
            column_ += low ? 1 : displayWidth(u);
        }
        return;
    }
}

std::string_view Utf16Converter::convert(const char *data, std::size_t size) {
    OutBuffer buffer = OutBuffer::overwriting(scratch_);
    char *o = buffer.cursor();
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *const end = p + size;
    const unsigned hi = bigEndian_ ? 0 : 1;
    // The most one code unit writes: a tab's run of spaces, or CR LF.
    const std::size_t unitRoom = 2 * std::max<std::size_t>({2, run_, width_ > 0 ? std::size_t(width_) : 0});
    if (hasOddByte_ && p != end && !textEnded_) {
        const unsigned char pair[2] = {static_cast<unsigned char>(oddByte_), *p++};
        hasOddByte_ = false;
        buffer.ensure(o, unitRoom);
        unit(static_cast<char16_t>(pair[hi] << 8 | pair[1 - hi]), o);
    }
    for (; end - p >= 2 && !textEnded_; p += 2) {
        buffer.ensure(o, unitRoom);
        unit(static_cast<char16_t>(p[hi] << 8 | p[1 - hi]), o);
    }
    if (p != end && !textEnded_) {
        oddByte_ = static_cast<char>(*p);
        hasOddByte_ = true;
    }
    buffer.commit(o);
    return {scratch_.data(), buffer.written()};
}

void Utf16Converter::finish(std::string &out) {
    if (hasOddByte_) { // half a code unit at the end: kept as it is
        out += oddByte_;
        hasOddByte_ = false;
        lineOpen_ = true;
    }
    const char crlf[4] = {bigEndian_ ? '\0' : '\r', bigEndian_ ? '\r' : '\0', bigEndian_ ? '\0' : '\n',
                          bigEndian_ ? '\n' : '\0'};
    if (rule_ == Rule::FixedSpaces || lineOpen_) out.append(crlf, 4);
    lineOpen_ = false;
    textEnded_ = true;
}
