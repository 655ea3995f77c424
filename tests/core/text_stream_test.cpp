#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_error.h"
#include "text_stream.h"
#include "whole_text.h"

namespace {

std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// Feeds the given blocks in order and finishes.
std::string tabStopsInBlocks(const std::vector<std::string> &blocks, int16_t width) {
    TabStopConverter converter(width);
    std::string out;
    for (const std::string &block : blocks) converter.feed(block.data(), block.size(), out);
    converter.finish(out);
    return out;
}

struct FileCase {
    const char *name;
    std::string input;
    std::string expected;
};

void PrintTo(const FileCase &c, std::ostream *os) { *os << c.name; }

class TabStopFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(TabStopFile, LineByLineOutput) {
    const FileCase &c = GetParam();
    EXPECT_EQ(tabStopsInBlocks({c.input}, 8), c.expected);
    EXPECT_EQ(expandTabStopsWhole(c.input, 8), c.expected);
    // Every split into two blocks gives the same bytes.
    for (std::size_t cut = 0; cut <= c.input.size(); ++cut)
        EXPECT_EQ(tabStopsInBlocks({c.input.substr(0, cut), c.input.substr(cut)}, 8), c.expected) << cut;
}

INSTANTIATE_TEST_SUITE_P(
    Conventions, TabStopFile,
    ::testing::Values(FileCase{"EmptyFileHasNoLines", "", ""},
                      FileCase{"LineWithCrLf", "a\tb\r\n", "a" + spaces(7) + "b\r\n"},
                      FileCase{"LastLineWithoutTerminator", "x\r\n\ty", "x\r\n" + spaces(8) + "y\r\n"},
                      FileCase{"CrAloneEndsLine", "a\rb\r", "a\r\nb\r\n"},
                      FileCase{"CrCrLfIsTwoLines", "a\r\r\n", "a\r\n\r\n"},
                      FileCase{"EmptyLinesKept", "\r\n\r\n", "\r\n\r\n"},
                      FileCase{"LoneLineFeedStaysInLineAndRestartsColumn", "ab\n\tc\r\n",
                               "ab\n" + spaces(8) + "c\r\n"},
                      FileCase{"LineFeedOnlyFileIsOneLine", "a\nb\n", "a\nb\n\r\n"},
                      FileCase{"LineFeedBeforeCrIsInLine", "a\n\r\n", "a\n\r\n"},
                      FileCase{"EndMarkStopsReading", "a\tb\x1A\tignored\r\n", "a" + spaces(7) + "b\r\n"},
                      FileCase{"EndMarkAfterTerminatorAddsNoLine", "a\r\n\x1A", "a\r\n"},
                      FileCase{"EndMarkFirstGivesNothing", "\x1A\tabc", ""},
                      FileCase{"ColumnCarriesAcrossLongLine", std::string(20, 'x') + "\t|",
                               std::string(20, 'x') + spaces(4) + "|\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TabStopConverter, CrAtBlockEndAndLfAtNextBlockStartAreOneTerminator) {
    EXPECT_EQ(tabStopsInBlocks({"a\r", "\nb"}, 8), "a\r\nb\r\n");
    EXPECT_EQ(tabStopsInBlocks({"a\r", "", "\n", "b"}, 8), "a\r\nb\r\n");
    EXPECT_EQ(tabStopsInBlocks({"a\r", "\r", "\n"}, 8), "a\r\n\r\n");
}

TEST(TabStopConverter, ColumnCarriesAcrossBlocks) {
    EXPECT_EQ(tabStopsInBlocks({"abc", "de", "\tf"}, 8), "abcde   f\r\n");
    EXPECT_EQ(tabStopsInBlocks({"ab\n", "\tc"}, 8), "ab\n" + spaces(8) + "c\r\n");
}

TEST(TabStopConverter, LongTabRunsAndWideStopsInOneBlock) {
    // Far more output than input: room for it must be made as the block goes.
    const std::string tabs(70000, '\t');
    EXPECT_EQ(tabStopsInBlocks({"x" + tabs + "y"}, 300), "x" + spaces(299 + 69999 * 300) + "y\r\n");
    EXPECT_EQ(tabStopsInBlocks({tabs.substr(0, 200)}, 32767), spaces(200 * 32767) + "\r\n");
    EXPECT_EQ(tabStopsInBlocks({"ab" + tabs, "\tc"}, 7), "ab" + spaces(5 + 70000 * 7) + "c\r\n");
}

TEST(Converters, LongPlainTextInOneBlock) {
    // Long stretches without a special byte, fed at once: output room must keep up.
    const std::string plain(100001, 'x');
    EXPECT_EQ(tabStopsInBlocks({plain + "\t" + plain + "\r\n"}, 8), plain + spaces(7) + plain + "\r\n");

    FixedSpacesConverter fixed(3);
    std::string out;
    const std::string text = plain + "\t" + plain;
    fixed.feed(text.data(), text.size(), out);
    EXPECT_EQ(out, plain + "   " + plain);
}

TEST(TabStopConverter, NothingAfterEndMarkInLaterBlocks) {
    EXPECT_EQ(tabStopsInBlocks({"a\x1A", "b\r\n", "\t"}, 8), "a\r\n");
}

TEST(TabStopConverter, BadWidthFailsOnlyWhenReadableTextHasTab) {
    EXPECT_EQ(tabStopsInBlocks({"no tabs\r\n", "at all"}, 0), "no tabs\r\nat all\r\n");
    EXPECT_EQ(tabStopsInBlocks({"tab after mark\x1A\t"}, -3), "tab after mark\r\n");
    try {
        tabStopsInBlocks({"line one\r\n", "x\ty"}, 0);
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 11);
    }
    try {
        tabStopsInBlocks({"\t"}, -1);
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 5);
    }
}

TEST(FixedSpacesConverter, WholeTextWriteAddsOneCrLf) {
    auto convert = [](const std::string &text, int16_t n) {
        FixedSpacesConverter converter(n);
        std::string out;
        converter.feed(text.data(), text.size(), out);
        converter.finish(out);
        return out;
    };
    EXPECT_EQ(convert("", 8), "\r\n");
    EXPECT_EQ(convert("a\tb\r\n", 8), "a" + spaces(8) + "b\r\n\r\n");
    EXPECT_EQ(convert("a\tb\t", 4), "a    b    \r\n");
    EXPECT_EQ(convert("\t", 17), spaces(8) + "\r\n");
    // Line ends and marks are not the fixed-number rule's business.
    EXPECT_EQ(convert("\n\r\x1A\t", 1), "\n\r\x1A \r\n");
}

TEST(WholeRead, EndMarkBeforeLastByteFailsWithInputPastEnd) {
    try {
        wholeReadCheck("ab\x1A"
                       "c");
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 62);
        EXPECT_EQ(e.description, "Input past end of file");
    }
    EXPECT_THROW(wholeReadCheck("\x1A\x1A"), AppError);
    EXPECT_NO_THROW(wholeReadCheck("abc\x1A"));
    EXPECT_NO_THROW(wholeReadCheck("\x1A"));
    EXPECT_NO_THROW(wholeReadCheck(""));
}

TEST(WholeRead, BlockCheckUsesFileLengthNotBlockLength) {
    // A mark at the end of a block is still before the file's last byte.
    WholeReadCheck check(4);
    EXPECT_THROW(check.feed("ab\x1A", 3), AppError);

    WholeReadCheck lastByte(4);
    lastByte.feed("ab", 2);
    EXPECT_NO_THROW(lastByte.feed("c\x1A", 2));
}

TEST(SplitLines, ReadsLinesAsLineInputDoes) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(splitLines(""), V{});
    EXPECT_EQ(splitLines("\r\n"), V{""});
    EXPECT_EQ(splitLines("a\r\nb\rc"), (V{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\nb\r\n\r\n"), (V{"a\nb", ""}));
    EXPECT_EQ(splitLines("a\r\nb\x1A\r\nc"), (V{"a", "b"}));
}

} // namespace
