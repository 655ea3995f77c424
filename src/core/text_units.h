// How the converter core reads a text's units and writes spaces and line ends, one class per
// encoding: a byte of ANSI text, a UTF-8 sequence, a UTF-16 code unit or surrogate pair. Each
// reports a unit's value, its bytes and its display columns; tab, CR, LF, 0x1A and space are units
// of their ASCII values in every encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "byte_scan.h"
#include "display_width.h"
#include "tab_chunks.h"
#include "text_encoding.h"

namespace units {

struct Unit {
    char32_t value; // the code point, or the byte or code unit itself when ill formed
    unsigned bytes;
    unsigned width; // display columns
};

// Bytes a unit may take at most, in any encoding.
inline constexpr std::size_t longestUnit = 4;

// Output one copied input byte may need past the bytes written: the 16-byte stores of the plain
// copies reach that far.
inline constexpr std::size_t storeReach = 16;

// A byte is a column.
struct Ansi {
    static constexpr std::size_t codeUnitBytes = 1;
#ifdef QM_SSE2
    static constexpr auto tabStopChunks = chunks::ansiTabStops;         // the fast path of the window's lines
    static constexpr auto keptTabStopChunks = chunks::ansiKeptTabStops; // ... and of kept line ends
#else
    static constexpr std::nullptr_t tabStopChunks = nullptr;
    static constexpr std::nullptr_t keptTabStopChunks = nullptr;
#endif

    std::string_view bom() const { return {}; }

    bool decode(const char *p, const char *, Unit &unit) const {
        unit = {static_cast<unsigned char>(*p), 1, 1};
        return true;
    }

    // Copies the units from p up to limit until one that may need a look (tab, CR, LF, 0x1A),
    // counting their columns; returns where it stopped.
    const char *copyPlain(const char *p, const char *limit, const char *, char *&o,
                          std::size_t &column) const {
        const char *stop = scan::findFirstOf<'\t', '\n', '\r', '\x1A'>(p, limit);
        const auto n = static_cast<std::size_t>(stop - p);
        std::memcpy(o, p, n);
        o += n;
        column += n;
        return stop;
    }

    static void spaces(char *&o, std::size_t count) {
        if (count <= 16)
            scan::storeSpaces16(o);
        else
            std::memset(o, ' ', count);
        o += count;
    }

    static void lineEnd(char *&o) {
        std::memcpy(o, "\r\n", 2);
        o += 2;
    }
};

// A well-formed sequence takes its character's columns; a byte that starts none takes one.
class Utf8 {
public:
    static constexpr std::size_t codeUnitBytes = 1;
#ifdef QM_SSE2
    static constexpr auto tabStopChunks = chunks::utf8TabStops;
    static constexpr auto keptTabStopChunks = chunks::utf8KeptTabStops;
#else
    static constexpr std::nullptr_t tabStopChunks = nullptr;
    static constexpr std::nullptr_t keptTabStopChunks = nullptr;
#endif

    explicit Utf8(bool withBom) : withBom_(withBom) {}

    std::string_view bom() const {
        return withBom_ ? std::string_view("\xEF\xBB\xBF", 3) : std::string_view();
    }

    // False when the bytes up to end are the start of a sequence cut short.
    bool decode(const char *p, const char *end, Unit &unit) const {
        const auto *u = reinterpret_cast<const unsigned char *>(p);
        unit = {u[0], 1, 1};
        if (u[0] < 0x80) return true;
        if (u[0] >= 0xC2 && u[0] < 0xE0 && end - p >= 2 && (u[1] & 0xC0) == 0x80) {
            // Two bytes, as Latin, Greek and Cyrillic letters are.
            const char32_t cp = static_cast<char32_t>((u[0] & 0x1F) << 6 | (u[1] & 0x3F));
            unit = {cp, 2, twoByteWidths().of(cp)};
            return true;
        }
        unsigned length = 1;
        char32_t cp = 0;
        switch (utf8::sequence(u, reinterpret_cast<const unsigned char *>(end), length, cp)) {
        case utf8::Step::Incomplete: return false;
        case utf8::Step::Invalid: return true;
        case utf8::Step::Complete: break;
        }
        unit = {cp, length, displayWidth(cp)};
        return true;
    }

    // As Ansi::copyPlain, for printable ASCII and well-formed sequences; a sequence may end past
    // limit, never past end.
    const char *copyPlain(const char *p, const char *limit, const char *end, char *&o,
                          std::size_t &column) const;

    static void spaces(char *&o, std::size_t count) { Ansi::spaces(o, count); }
    static void lineEnd(char *&o) { Ansi::lineEnd(o); }

private:
    bool withBom_;
};

// Code units in the text's byte order; a surrogate pair takes its character's columns, an unpaired
// surrogate one column.
template <bool BigEndian> struct Utf16 {
    static constexpr std::size_t codeUnitBytes = 2;
    static constexpr std::nullptr_t tabStopChunks = nullptr;
    static constexpr std::nullptr_t keptTabStopChunks = nullptr;

    std::string_view bom() const {
        return BigEndian ? std::string_view("\xFE\xFF", 2) : std::string_view("\xFF\xFE", 2);
    }

    static char16_t read(const char *p) {
        const auto *u = reinterpret_cast<const unsigned char *>(p);
        return BigEndian ? static_cast<char16_t>(u[0] << 8 | u[1]) : static_cast<char16_t>(u[1] << 8 | u[0]);
    }

    static void put(char *&o, char16_t u) {
        const auto high = static_cast<char>(u >> 8);
        const auto low = static_cast<char>(u & 0xFF);
        o[0] = BigEndian ? high : low;
        o[1] = BigEndian ? low : high;
        o += 2;
    }

    bool decode(const char *p, const char *end, Unit &unit) const {
        if (end - p < 2) return false;
        const char16_t u = read(p);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (end - p < 4) return false; // the low half may follow in the next block
            const char16_t next = read(p + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                const char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (next - 0xDC00);
                unit = {cp, 4, displayWidth(cp)};
                return true;
            }
            unit = {u, 2, 1};
            return true;
        }
        unit = {u, 2, u >= 0xDC00 && u <= 0xDFFF ? 1 : displayWidth(u)};
        return true;
    }

    const char *copyPlain(const char *p, const char *limit, const char *end, char *&o,
                          std::size_t &column) const {
        Unit unit{};
        while (limit - p >= 2) {
            if (read(p) < 0x20 || !decode(p, end, unit)) break;
            std::memcpy(o, p, unit.bytes);
            o += unit.bytes;
            p += unit.bytes;
            column += unit.width;
        }
        return p;
    }

    static void spaces(char *&o, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) put(o, u' ');
    }

    static void lineEnd(char *&o) {
        put(o, u'\r');
        put(o, u'\n');
    }
};

} // namespace units
