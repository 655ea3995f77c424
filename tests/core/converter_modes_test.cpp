// The modes of the converter core, with every expectation written out by hand: tab stops as
// expand's -t names them, leading tabs only, line ends kept, and each mode point (a unit's width, a
// line end, the end mark) alike in ANSI, UTF-8 and UTF-16 text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_error.h"
#include "converter.h"
#include "tab_stops.h"

namespace {

using namespace std::string_literals;

// The stops that tabs typed one after another from column 0 reach.
std::vector<std::size_t> stopsFromStart(const TabStops &stops, int count) {
    std::vector<std::size_t> reached;
    std::size_t column = 0;
    for (int i = 0; i < count; ++i) reached.push_back(column = stops.nextStop(column));
    return reached;
}

TEST(TabStopsArgument, ParsesAsExpandDoes) {
    using V = std::vector<std::size_t>;
    const struct {
        const char *text;
        V reached;
    } cases[] = {
        {"4", {4, 8, 12, 16}},
        {"", {8, 16, 24}},
        {"01", {1, 2, 3}},
        {"4,8", {4, 8, 9, 10}},
        {" 4 \t8, ", {4, 8, 9, 10}},
        {"4,,8", {4, 8, 9, 10}},
        {"2,5,6", {2, 5, 6, 7}},
        {"2,/4", {2, 4, 8, 12}},
        {"2,+4", {2, 6, 10, 14}},
        {"3,/4", {3, 4, 8, 12}},
        {"8,/3", {8, 9, 12, 15}},
        {"8,+3", {8, 11, 14, 17}},
        {"/4", {4, 8, 12}},
        {"+4", {4, 8, 12}},
        {"/0", {8, 16}},
        {"+", {8, 16}},
        {",", {8, 16}},
        {"4,/0", {4, 8, 12}}, // one stop and no spacing: every 4
        {"2,5,+0", {2, 5, 6, 7}},
        {"2,5,/", {2, 5, 6, 7}},
    };
    for (const auto &c : cases) {
        std::string error;
        const std::optional<TabStops> stops = parseTabStops(c.text, error);
        ASSERT_TRUE(stops.has_value()) << c.text << ": " << error;
        EXPECT_EQ(stopsFromStart(*stops, static_cast<int>(c.reached.size())), c.reached) << c.text;
    }
}

TEST(TabStopsArgument, NextStopFromAnyColumn) {
    std::string error;
    const TabStops afterLast = *parseTabStops("2,+4", error);
    EXPECT_EQ(afterLast.nextStop(0), 2u);
    EXPECT_EQ(afterLast.nextStop(2), 6u);
    EXPECT_EQ(afterLast.nextStop(7), 10u);
    EXPECT_EQ(afterLast.nextStop(1001), 1002u);
    const TabStops multiples = *parseTabStops("3,/4", error);
    EXPECT_EQ(multiples.nextStop(3), 4u);
    EXPECT_EQ(multiples.nextStop(1001), 1004u);
    const TabStops plain = *parseTabStops("3,10", error);
    EXPECT_EQ(plain.nextStop(4), 10u);
    EXPECT_EQ(plain.nextStop(10), 11u);
    EXPECT_EQ(plain.nextStop(500), 501u);
    EXPECT_EQ(TabStops::every(5).uniformWidth(), 5u);
    EXPECT_EQ(plain.uniformWidth(), 0u);
}

TEST(TabStopsArgument, RefusesWhatExpandRefuses) {
    const char *bad[] = {"0",        "3,0",  "8,4",  "4,4", "a",  "-1",  "4;8",
                         "2,/4,6",   "/4,4", "+2,4", "2/4", "4+", "0x4", "99999999999999999999",
                         "16777217", "+4,/8"};
    for (const char *text : bad) {
        std::string error;
        EXPECT_FALSE(parseTabStops(text, error).has_value()) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    std::string error;
    parseTabStops("8,4", error);
    EXPECT_EQ(error, "tab stops must be ascending");
    parseTabStops("3,0", error);
    EXPECT_EQ(error, "tab size cannot be 0");
    parseTabStops("4;8", error);
    EXPECT_EQ(error, "tab stop contains invalid character(s): ';8'");
    EXPECT_TRUE(parseTabStops("16777216", error).has_value());
}

TEST(TabStopsArgument, WindowWidthsBelowOneFailAtTheFirstTab) {
    for (const auto &[width, number] : {std::pair<int16_t, int32_t>{0, 11}, {-3, 5}}) {
        try {
            TabStops::ofWindowWidth(width).nextStop(0);
            FAIL() << "no error for " << width;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, number);
        }
    }
    EXPECT_EQ(TabStops::ofWindowWidth(32767).nextStop(1), 32767u);
}

ConversionMode kept(TabStops stops, bool leadingOnly = false) {
    ConversionMode mode;
    mode.stops = std::move(stops);
    mode.leadingOnly = leadingOnly;
    mode.lineEnds = LineEnds::Kept;
    return mode;
}

ConversionMode keptSpaces(std::size_t spaces, bool leadingOnly = false) {
    ConversionMode mode = kept(TabStops::every(8), leadingOnly);
    mode.rule = TabRule::FixedSpaces;
    mode.spaces = spaces;
    return mode;
}

ConversionMode windowLeadingOnly(int16_t width) {
    ConversionMode mode = ConversionMode::windowTabStops(width);
    mode.leadingOnly = true;
    return mode;
}

TabStops listed(const char *text) {
    std::string error;
    return *parseTabStops(text, error);
}

std::string convertInTwo(TextEncoding encoding, const ConversionMode &mode, const std::string &text,
                         std::size_t cut) {
    const std::unique_ptr<StreamConverter> converter = makeConverter(encoding, mode);
    std::string out;
    converter->feed(text.data(), cut, out);
    converter->feed(text.data() + cut, text.size() - cut, out);
    converter->finish(out);
    return out;
}

// ASCII text as UTF-16 code units with a byte-order mark.
std::string utf16(const std::string &ascii, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) bytes += bigEndian ? "\0"s + c : c + "\0"s;
    return bytes;
}

struct ModeCase {
    const char *name;
    ConversionMode mode;
    std::string input;
    std::string expected;
};

// Each case in every encoding, fed in two blocks cut at every byte.
TEST(ConverterModes, EachModePointAlikeInEveryEncoding) {
    const ModeCase cases[] = {
        {"KeptLineEndsAddNothing", kept(TabStops::every(8)), "a\tb\r\n\tc\n", "a       b\r\n        c\n"},
        {"KeptLoneCrRestartsTheColumn", kept(TabStops::every(8)), "abc\r\tx", "abc\r        x"},
        {"KeptCrLfAndLfCr", kept(TabStops::every(4)), "\r\n\n\r\tx\n\r", "\r\n\n\r    x\n\r"},
        {"BackspaceIsAColumn", kept(TabStops::every(8)), "ab\b\tx", "ab\b     x"},
        {"KeptEndMarkIsAColumn", kept(TabStops::every(8)), "a\x1A\tb\x1A", "a\x1A      b\x1A"},
        {"ListAfterLastPlus", kept(listed("4,+3")), "\ta\tb\tc", "    a  b  c"},
        {"ListAfterLastOneSpace", kept(listed("2,5")), "\t\t\tx\t", "      x "},
        {"ListAfterLastSlash", kept(listed("3,/5")), "abcd\t\tx", "abcd      x"},
        {"LeadingOnly", kept(TabStops::every(4), true), " \t a\tb\n\tc\r\t\t", "     a\tb\n    c\r        "},
        {"LeadingOnlyStopsAtAnyNonBlank", kept(TabStops::every(4), true), "\x1A\t.\n\b\tx", "\x1A\t.\n\b\tx"},
        {"LeadingOnlyWindowLines", windowLeadingOnly(8), "\ta\tb\r\tc", "        a\tb\r\n        c\r\n"},
        {"KeptFixedSpaces", keptSpaces(3), "\ta\r\n\t", "   a\r\n   "},
        {"KeptFixedSpacesLeadingOnly", keptSpaces(2, true), " \ta\tb\n\t", "   a\tb\n  "},
        {"WindowTabStops", ConversionMode::windowTabStops(4), "a\tb\rc\x1A\td", "a   b\r\nc\r\n"},
        {"WindowTabStopsCrLfAndLoneLf", ConversionMode::windowTabStops(4), "\tx\r\n\n\t",
         "    x\r\n\n    \r\n"},
        {"WindowFixedSpaces", ConversionMode::windowFixedSpaces(4), "a\tb\r\x1A", "a    b\r\x1A\r\n"},
        {"WindowFixedSpacesEmpty", ConversionMode::windowFixedSpaces(20), "\t", "        \r\n"},
    };
    for (const ModeCase &c : cases) {
        for (std::size_t cut = 0; cut <= c.input.size(); ++cut) {
            EXPECT_EQ(convertInTwo(TextEncoding::Ansi, c.mode, c.input, cut), c.expected)
                << c.name << " " << cut;
            EXPECT_EQ(convertInTwo(TextEncoding::Utf8, c.mode, c.input, cut), c.expected)
                << c.name << " " << cut;
        }
        const std::string bom = "\xEF\xBB\xBF";
        const std::string withBom = bom + c.input;
        for (bool bigEndian : {false, true}) {
            const std::string input16 = utf16(c.input, bigEndian);
            // The closing CR LF of the window's rules is in the text's own code units too.
            const std::string expected16 = utf16(c.expected, bigEndian);
            const TextEncoding encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
            for (std::size_t cut = 0; cut <= input16.size(); ++cut)
                EXPECT_EQ(convertInTwo(encoding, c.mode, input16, cut), expected16)
                    << c.name << " " << cut << (bigEndian ? " big-endian" : " little-endian");
        }
        for (std::size_t cut = 0; cut <= withBom.size(); ++cut)
            EXPECT_EQ(convertInTwo(TextEncoding::Utf8Bom, c.mode, withBom, cut), bom + c.expected)
                << c.name << " " << cut;
    }
}

TEST(ConverterModes, Utf8StopsCountDisplayColumns) {
    const struct {
        ConversionMode mode;
        std::string input;
        std::string expected;
    } cases[] = {
        // Two wide characters are 4 columns; their 6 bytes would be 6.
        {kept(listed("4,+3")), "\xE6\x97\xA5\xE6\x9C\xAC\tx", "\xE6\x97\xA5\xE6\x9C\xAC   x"},
        {kept(TabStops::every(4)), "e\xCC\x81\tx\r\n", "e\xCC\x81   x\r\n"},           // combining: 0
        {kept(TabStops::every(4)), "\xF0\x9F\x98\x80\tq", "\xF0\x9F\x98\x80  q"},      // emoji: 2
        {kept(TabStops::every(4)), "\xC3\xA9\r\xC3\xA9\tq", "\xC3\xA9\r\xC3\xA9   q"}, // lone CR: new line
        {kept(TabStops::every(8)), "\xE6\x97\tx", "\xE6\x97      x"},                  // ill-formed: 1 each
        {kept(TabStops::every(8)), "a\xE6\x97", "a\xE6\x97"},                          // cut at the end: kept
        // An ideographic space is not a blank: the tab after it stays.
        {kept(TabStops::every(4), true), "\xE3\x80\x80\tx", "\xE3\x80\x80\tx"},
        {kept(TabStops::every(4), true), " \t\xC3\xA9\tx", "    \xC3\xA9\tx"},
    };
    for (const auto &c : cases)
        for (std::size_t cut = 0; cut <= c.input.size(); ++cut)
            EXPECT_EQ(convertInTwo(TextEncoding::Utf8, c.mode, c.input, cut), c.expected)
                << ::testing::PrintToString(c.input) << " cut at " << cut;
    // The same bytes as ANSI text: a byte is a column.
    EXPECT_EQ(convertInTwo(TextEncoding::Ansi, kept(listed("4,+3")), cases[0].input, 0),
              "\xE6\x97\xA5\xE6\x9C\xAC x");
}

TEST(ConverterModes, Utf16PairsAndCutsInKeptText) {
    // U+1F600 as a surrogate pair: 2 columns; an unpaired high surrogate: 1; half a unit at the end
    // is kept.
    const std::string pair = "\xFF\xFE\x3D\xD8\x00\xDE\t\0x\0"s;
    const std::string lone = "\xFF\xFE\x3D\xD8\t\0x\0"s;
    for (std::size_t cut = 0; cut <= pair.size(); ++cut)
        EXPECT_EQ(convertInTwo(TextEncoding::Utf16Le, kept(TabStops::every(4)), pair, cut),
                  "\xFF\xFE\x3D\xD8\x00\xDE \0 \0x\0"s)
            << cut;
    for (std::size_t cut = 0; cut <= lone.size(); ++cut)
        EXPECT_EQ(convertInTwo(TextEncoding::Utf16Le, kept(TabStops::every(4)), lone, cut),
                  "\xFF\xFE\x3D\xD8 \0 \0 \0x\0"s)
            << cut;
    EXPECT_EQ(convertInTwo(TextEncoding::Utf16Le, kept(TabStops::every(4)), "\xFF\xFE\t\0y"s, 3),
              "\xFF\xFE \0 \0 \0 \0y"s);
}

} // namespace
