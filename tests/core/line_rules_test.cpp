#include <gtest/gtest.h>

#include <string>

#include "app_error.h"
#include "line_rules.h"

namespace {

std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

struct TabStopCase {
    const char *line;
    int16_t width;
    std::string expected;
};

void PrintTo(const TabStopCase &c, std::ostream *os) {
    *os << ::testing::PrintToString(std::string(c.line)) << " width " << c.width;
}

class TabStops : public ::testing::TestWithParam<TabStopCase> {};

TEST_P(TabStops, ExpandsToNextStop) {
    const TabStopCase &c = GetParam();
    EXPECT_EQ(replaceFixed(c.line, c.width), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TabStops,
    ::testing::Values(TabStopCase{"a\tb", 8, "a" + spaces(7) + "b"}, TabStopCase{"\tx", 8, spaces(8) + "x"},
                      TabStopCase{"abcdefgh\tx", 8, "abcdefgh" + spaces(8) + "x"},
                      TabStopCase{"ab\t\tc", 8, "ab" + spaces(6) + spaces(8) + "c"},
                      TabStopCase{"abc\td", 4, "abc d"}, TabStopCase{"abcd\te", 4, "abcd" + spaces(4) + "e"},
                      TabStopCase{"\ta\t\tbc\t", 1, " a  bc "},
                      TabStopCase{"a\tb", 17, "a" + spaces(16) + "b"},
                      TabStopCase{"abcdefghijklmnopq\tr", 17, "abcdefghijklmnopq" + spaces(17) + "r"},
                      TabStopCase{"\t", 32767, spaces(32767)}, TabStopCase{"trailing\t", 5, "trailing  "},
                      // Bytes above 0x7F are characters like any other in a single-byte code page.
                      TabStopCase{"\xE9t\xE9\tx", 8, "\xE9t\xE9" + spaces(5) + "x"},
                      // A CR inside a line (only possible outside file reading) is one position.
                      TabStopCase{"a\rb\tc", 4, "a\rb c"}));

INSTANTIATE_TEST_SUITE_P(
    LoneLineFeed, TabStops,
    ::testing::Values(TabStopCase{"ab\n\tc", 8, "ab\n" + spaces(8) + "c"},
                      TabStopCase{"abcdef\nab\tc", 4, "abcdef\nab  c"},
                      TabStopCase{"a\tb\n\tc", 8, "a" + spaces(7) + "b\n" + spaces(8) + "c"},
                      TabStopCase{"\n\n\t", 3, "\n\n   "}, TabStopCase{"abc\n", 8, "abc\n"}));

TEST(TabStops, LineWithoutTabsIsUnchangedForAnyWidth) {
    for (int16_t width : {int16_t{-32768}, int16_t{-1}, int16_t{0}, int16_t{1}, int16_t{8}, int16_t{32767}}) {
        EXPECT_EQ(replaceFixed("", width), "");
        EXPECT_EQ(replaceFixed("no tabs here\n  ", width), "no tabs here\n  ");
    }
}

TEST(TabStops, WidthZeroFailsWithDivisionByZeroAtFirstTab) {
    try {
        replaceFixed("abc\tdef", 0);
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 11);
        EXPECT_EQ(e.description, "Division by zero");
    }
}

TEST(TabStops, NegativeWidthFailsWithInvalidCall) {
    for (int16_t width : {int16_t{-1}, int16_t{-8}, int16_t{-32768}}) {
        try {
            replaceFixed("\t", width);
            FAIL() << "no error for width " << width;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, 5);
        }
    }
}

TEST(FixedSpaces, RunLengthTable) {
    for (int16_t n = 1; n <= 16; ++n) EXPECT_EQ(spacesPerTab(n), static_cast<std::size_t>(n));
    for (int16_t n : {int16_t{0}, int16_t{-1}, int16_t{-32768}, int16_t{17}, int16_t{20}, int16_t{32767}})
        EXPECT_EQ(spacesPerTab(n), 8u) << n;
}

TEST(FixedSpaces, EveryTabBecomesSameRunWhateverItsColumn) {
    std::string text = "a\tb\t";
    howManySpaces(text, 4);
    EXPECT_EQ(text, "a    b    ");

    text = "\t\r\n\tx\tyz\r\n";
    howManySpaces(text, 2);
    EXPECT_EQ(text, "  \r\n  x  yz\r\n");
}

TEST(FixedSpaces, OutOfTableValuesGiveEightSpaces) {
    for (int16_t n : {int16_t{0}, int16_t{-5}, int16_t{17}}) {
        std::string text = "a\tb";
        howManySpaces(text, n);
        EXPECT_EQ(text, "a" + spaces(8) + "b") << n;
    }
}

TEST(FixedSpaces, TextWithoutTabsAndEmptyTextUnchanged) {
    std::string text = "plain\r\n\x1A\n";
    howManySpaces(text, 3);
    EXPECT_EQ(text, "plain\r\n\x1A\n");
    std::string empty;
    howManySpaces(empty, 3);
    EXPECT_EQ(empty, "");
}

TEST(FixedSpaces, LongRunsOfTabsAcrossScanBlocks) {
    // More than 16 tabs in a row and a run longer than the short-run path.
    std::string text(40, '\t');
    howManySpaces(text, 16);
    EXPECT_EQ(text, spaces(640));
}

} // namespace
