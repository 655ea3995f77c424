#include "unicode_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "display_width.h"
#include "byte_scan.h"
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
    while (p != limit && plainAscii(*p))
        *o++ = *p++;
    return p;
}

} // namespace

Utf8TabStopConverter::Utf8TabStopConverter(int16_t width, bool withBom) : width_(width), bomLeft_(withBom ? 3 : 0) {
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
        if (step == utf8::Step::Incomplete)
            continue;
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
    if (textEnded_)
        return {};
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
        if (*p == '\n')
            ++p;
    }
    p = completePending(p, end, w);
    // Room is made once per span of input, for the most a byte can give (a tab's run and the
    // 16-byte stores that reach past it), so the loop below writes without checks.
    const std::size_t byteRoom = std::max<std::size_t>(16, width_ > 0 ? static_cast<std::size_t>(width_) : 0) + 16;
    const std::size_t span = std::clamp<std::size_t>((64 * 1024) / byteRoom, 1, spanBytes);
    std::size_t column = column_;
    bool lineOpen = lineOpen_;
    char *o = w.o;
    while (p != end) {
        const char *limit = p + std::min<std::size_t>(span, static_cast<std::size_t>(end - p));
        buffer.ensure(o, static_cast<std::size_t>(limit - p) * byteRoom + 32);
        while (p < limit) {
            const char *plainEnd = copyPlainAscii(p, limit, o);
            if (plainEnd != p) {
                column += static_cast<std::size_t>(plainEnd - p);
                lineOpen = true;
                p = plainEnd;
                if (p == limit)
                    break;
            }
            const char c = *p;
            if (static_cast<unsigned char>(c) >= 0x80) {
                // A sequence may reach past the span's limit, never past the block's end.
                const auto *u = reinterpret_cast<const unsigned char *>(p);
                lineOpen = true;
                if (u[0] >= 0xC2 && u[0] < 0xE0 && end - p >= 2 && (u[1] & 0xC0) == 0x80) {
                    // Two bytes, as Latin, Greek and Cyrillic letters are: decoded here.
                    const char32_t cp = static_cast<char32_t>((u[0] & 0x1F) << 6 | (u[1] & 0x3F));
                    column += cp < 0x300 ? 1 : displayWidth(cp);
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
                const std::size_t run = column < shortRuns && runs_[column] != 0 ? runs_[column] : tabRun(width_, column);
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
    if (lineOpen_)
        out.append("\r\n", 2);
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
        for (std::size_t i = 0; i < run_; ++i)
            put(o, u' ');
        return;
    }
    if (pendingCr_) {
        pendingCr_ = false;
        if (u == '\n')
            return;
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
        for (std::size_t i = 0; i < run; ++i)
            put(o, u' ');
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
    case u'\x1A':
        textEnded_ = true;
        return;
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
    if (rule_ == Rule::FixedSpaces || lineOpen_)
        out.append(crlf, 4);
    lineOpen_ = false;
    textEnded_ = true;
}
