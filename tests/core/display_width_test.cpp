// The columns of characters in a monospace editor, at the edges of the generated table's runs.
#include <gtest/gtest.h>

#include "display_width.h"

namespace {

struct WidthCase {
    char32_t codePoint;
    unsigned columns;
};

TEST(DisplayWidth, CharactersTakeTheColumnsAnEditorShows) {
    const WidthCase cases[] = {
        {U'a', 1},
        {U'\t', 1},
        {U'\x7F', 1},
        {U'\u00E9', 1}, // Latin
        {U'\u00AD', 1}, // soft hyphen is shown
        {U'\u02FF', 1},
        {U'\u0300', 0},
        {U'\u036F', 0},
        {U'\u0370', 1}, // combining accents and after
        {U'\u0416', 1}, // Cyrillic
        {U'\u0489', 0}, // enclosing mark (Me)
        {U'\u10FF', 1},
        {U'\u1100', 2},
        {U'\u115F', 2}, // Hangul initial consonants
        {U'\u1160', 0},
        {U'\u11FF', 0},
        {U'\u1200', 1}, // conjoining vowels and finals
        {U'\u200B', 0},
        {U'\u200D', 0},
        {U'\u2060', 0},
        {U'\uFEFF', 0}, // zero-width characters
        {U'\u3000', 2},
        {U'\u3042', 2},
        {U'\u3099', 0}, // ideographic space, hiragana, mark
        {U'\u4E00', 2},
        {U'\u65E5', 2},
        {U'\u9FFF', 2}, // CJK ideographs
        {U'\uAC00', 2},
        {U'\uD7A3', 2},
        {U'\uD7A4', 1}, // Hangul syllables
        {U'\uFF01', 2},
        {U'\uFF60', 2},
        {U'\uFF61', 1},
        {U'\uFF9E', 1}, // fullwidth, then halfwidth
        {U'\U0001F600', 2},
        {U'\U00020000', 2},
        {U'\U0003FFFD', 2}, // emoji, CJK extensions
        {U'\U000E0001', 0},
        {U'\U000E0100', 0}, // tag, variation selector
        {U'\U0010FFFF', 1},
        {char32_t{0x110000}, 1},
        {char32_t{0xFFFFFFFF}, 1}, // beyond Unicode
    };
    for (const WidthCase &c : cases)
        EXPECT_EQ(displayWidth(c.codePoint), c.columns)
            << std::hex << "U+" << static_cast<uint32_t>(c.codePoint);
}

TEST(DisplayWidth, TableRunsAscendAndDoNotOverlap) {
    ASSERT_GT(displaywidth::rangeCount, 100u);
    for (std::size_t i = 0; i < displaywidth::rangeCount; ++i) {
        const auto &r = displaywidth::ranges[i];
        EXPECT_LE(r.first, r.last);
        EXPECT_TRUE(r.width == 0 || r.width == 2);
        if (i > 0) {
            EXPECT_LT(displaywidth::ranges[i - 1].last, r.first);
        }
    }
}

} // namespace
