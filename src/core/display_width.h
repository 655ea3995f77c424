// The columns a character takes in a monospace editor, for counting tab stops in Unicode text:
// East Asian Wide and Fullwidth characters 2, combining marks and zero-width characters 0, all
// others 1. The table behind it is generated from the Unicode character database.
#pragma once

#include <cstddef>
#include <cstdint>

namespace displaywidth {

struct WidthRange {
    std::uint32_t first;
    std::uint32_t last;
    std::uint8_t width;
};

// Ascending, non-overlapping runs of code points whose width is not 1.
extern const WidthRange ranges[];
extern const std::size_t rangeCount;

} // namespace displaywidth

// 0, 1 or 2. Code points outside Unicode, surrogates and unassigned ones outside the wide blocks
// take 1.
unsigned displayWidth(char32_t codePoint);

// Characters of two bytes in UTF-8 (U+0080 to U+07FF), the letters of Latin, Greek, Cyrillic,
// Hebrew and Arabic text, take one column or, as combining marks, none: which take none is kept as
// bits, so that they need no search of the width table.
class TwoByteWidths {
public:
    TwoByteWidths();
    unsigned of(char32_t cp) const { return 1 - (zero_[cp / 32] >> (cp % 32) & 1); }

private:
    std::uint32_t zero_[0x800 / 32] = {};
};

// The one table, made on first use.
const TwoByteWidths &twoByteWidths();
