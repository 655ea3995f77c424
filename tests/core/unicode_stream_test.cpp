// UTF-8 and UTF-16 text through the tab-stop and fixed-number rules, and the encoding a file's bytes
// name, with every expectation written out byte by byte.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app_error.h"
#include "text_encoding.h"
#include "unicode_stream.h"

namespace {

using namespace std::string_literals;

template <class Converter> std::string convertWhole(Converter converter, const std::string &text) {
    std::string out;
    converter.feed(text.data(), text.size(), out);
    converter.finish(out);
    return out;
}

struct Case {
    std::string input;
    std::string expected;
};

TEST(Utf8TabStops, CountDisplayColumnsAndKeepEveryByte) {
    const Case cases[] = {
        {"caf\xC3\xA9\tx", "caf\xC3\xA9    x\r\n"},                           // e acute: 1 column
        {"\xE6\x97\xA5\xE6\x9C\xAC\ty", "\xE6\x97\xA5\xE6\x9C\xAC    y\r\n"}, // two wide characters
        {"e\xCC\x81\tz", "e\xCC\x81       z\r\n"},                            // combining mark: 0
        {"\xF0\x9F\x98\x80\tq", "\xF0\x9F\x98\x80      q\r\n"},               // emoji: 2
        {"0123456789abcdefghij\xC3\xA9\tx", "0123456789abcdefghij\xC3\xA9   x\r\n"},
        {"\xE6\x97\tx", "\xE6\x97      x\r\n"},        // cut sequence: 1 each
        {"\xC0\xAF\tx", "\xC0\xAF      x\r\n"},        // overlong form
        {"\xED\xA0\x80\tx", "\xED\xA0\x80     x\r\n"}, // encoded surrogate
        {"a\xE6\x97", "a\xE6\x97\r\n"},                // cut at the end
        {"\xE6\x97\xA5\r\n\tx\r\xE6\x97\xA5\n\ty",
         "\xE6\x97\xA5\r\n        x\r\n\xE6\x97\xA5\n        y\r\n"}, // CR LF, CR, lone LF
        {"\xC3\xA9\tx\x1A\tgone", "\xC3\xA9       x\r\n"},            // 0x1A ends the text
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(convertWhole(Utf8TabStopConverter(8, false), c.input), c.expected)
            << ::testing::PrintToString(c.input);
}

// Characters before a tab in text long enough to be read a chunk (32 or 64 bytes) at a time, after
// a first line of every length from 2000 to 2064 bytes, so that chunk ends fall at every byte of
// them: their columns counted once, wherever their bytes fall.
TEST(Utf8TabStops, CharactersAcrossChunkEndsCountTheirColumnsOnce) {
    const std::string rest = "x\r\n" + std::string(200, 'b') + "\r\n";
    const struct {
        std::string head;
        std::string spaces;
    } cases[] = {
        {std::string(62, 'a') + "\xE6\x97\xA5", std::string(8, ' ')},             // wide: column 64
        {std::string(63, 'a') + "\xE6\x97\xA5", std::string(7, ' ')},             // wide: column 65
        {std::string(63, 'a') + "\xC3\xA9", std::string(8, ' ')},                 // e acute: column 64
        {std::string(63, 'a') + "\xCC\x81", std::string(1, ' ')},                 // combining: column 63
        {std::string(61, 'a') + "\xF0\x9F\x98\x80", std::string(1, ' ')},         // emoji: column 63
        {std::string(62, 'a') + "\xE6\x97", std::string(8, ' ')},                 // cut sequence: 1 each
        {std::string(61, 'a') + "\xE6\x97\xA5\xE6\x97\xA5", std::string(7, ' ')}, // column 65
    };
    for (const auto &c : cases) {
        for (std::size_t first = 2000; first <= 2064; ++first) {
            const std::string line = std::string(first, 'c') + "\r\n";
            ASSERT_EQ(convertWhole(Utf8TabStopConverter(8, false), line + c.head + "\t" + rest),
                      line + c.head + c.spaces + rest)
                << first << " " << ::testing::PrintToString(c.head);
        }
    }
}

TEST(Utf8TabStops, KeepsTheBomOutsideTheColumns) {
    EXPECT_EQ(convertWhole(Utf8TabStopConverter(8, true), "\xEF\xBB\xBF"
                                                          "a\tb"),
              "\xEF\xBB\xBF"
              "a       b\r\n");
    EXPECT_EQ(convertWhole(Utf8TabStopConverter(8, true), "\xEF\xBB\xBF"), "\xEF\xBB\xBF"); // BOM alone
    EXPECT_EQ(convertWhole(Utf8TabStopConverter(8, true), "\xEF\xBB\xBF\xFF\xFE\tx"),
              "\xEF\xBB\xBF\xFF\xFE      x\r\n"); // invalid bytes after a BOM: one column each
    // Fullwidth letters of 2 columns under stops of 4.
    EXPECT_EQ(convertWhole(Utf8TabStopConverter(4, false), "\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\xA3\tx"),
              "\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\xA3  x\r\n");
}

TEST(Utf8TabStops, WidthZeroOrNegativeFailsOnlyAtATab) {
    EXPECT_EQ(convertWhole(Utf8TabStopConverter(0, false), "\xC3\xA9 no tab"), "\xC3\xA9 no tab\r\n");
    try {
        convertWhole(Utf8TabStopConverter(0, false), "\xC3\xA9\tx");
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 11);
    }
    try {
        convertWhole(Utf8TabStopConverter(-3, false), "\xC3\xA9\tx");
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 5);
    }
}

std::string le(const std::u16string &units) {
    std::string bytes;
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

std::string be(const std::u16string &units) {
    std::string bytes;
    for (char16_t u : units) {
        bytes += static_cast<char>(u >> 8);
        bytes += static_cast<char>(u & 0xFF);
    }
    return bytes;
}

std::string stops16(const std::string &text, bool bigEndian, int16_t width = 8) {
    return convertWhole(Utf16Converter(Utf16Converter::Rule::TabStops, width, bigEndian), text);
}

TEST(Utf16TabStops, ConvertCodeUnitsInTheFilesByteOrder) {
    EXPECT_EQ(stops16("\xFF\xFE"
                      "a\0\t\0b\0"s,
                      false),
              "\xFF\xFE"
              "a\0 \0 \0 \0 \0 \0 \0 \0b\0\r\0\n\0"s);
    EXPECT_EQ(stops16("\xFE\xFF"
                      "\0a\0\t\0b"s,
                      true),
              "\xFE\xFF"
              "\0a\0 \0 \0 \0 \0 \0 \0 \0b\0\r\0\n"s);
    const Case cases[] = {
        {le(u"\uFEFF\u65E5\u672C\ty\r\n"), le(u"\uFEFF\u65E5\u672C    y\r\n")}, // wide: 2 each
        {le(u"\uFEFF\U0001F600\tq"), le(u"\uFEFF\U0001F600      q\r\n")},       // surrogate pair: 2
        {le(u"\uFEFF\u041A\tx"), le(u"\uFEFF\u041A       x\r\n")},              // byte 0x1A, not U+001A
        {le(u"\uFEFF\u0D0A\u0909\tx"), le(u"\uFEFF\u0D0A\u0909      x\r\n")},   // bytes 0A 0D and 09
        {le(u"\uFEFFab\n\tx"), le(u"\uFEFFab\n        x\r\n")},                 // lone LF
        {le(u"\uFEFFa\rb"), le(u"\uFEFFa\r\nb\r\n")},                           // CR alone
        {le(u"\uFEFFa\tb\u001A"), le(u"\uFEFFa       b\r\n")},                  // U+001A at the end
        {le(u"\uFEFF\xD800"
            u"a\tx"),
         le(u"\uFEFF\xD800"
            u"a      x\r\n")},      // unpaired: 1 column
        {"\xFF\xFE"s, "\xFF\xFE"s}, // BOM alone
    };
    for (const Case &c : cases) {
        EXPECT_EQ(stops16(c.input, false), c.expected) << ::testing::PrintToString(c.input);
        std::string swappedIn = c.input, swappedOut = c.expected;
        for (std::string *s : {&swappedIn, &swappedOut})
            for (std::size_t i = 0; i + 1 < s->size(); i += 2) std::swap((*s)[i], (*s)[i + 1]);
        EXPECT_EQ(stops16(swappedIn, true), swappedOut) << ::testing::PrintToString(swappedIn);
    }
}

TEST(Utf16FixedSpaces, EveryTabTheSameRunAndOneLineEndAdded) {
    const auto fixed = [](const std::string &text, int16_t n, bool bigEndian) {
        return convertWhole(Utf16Converter(Utf16Converter::Rule::FixedSpaces, n, bigEndian), text);
    };
    EXPECT_EQ(fixed(le(u"\uFEFFa\tb\r\n"), 4, false), le(u"\uFEFFa    b\r\n\r\n"));
    EXPECT_EQ(fixed(be(u"\uFEFF\u65E5\t\u041A"), 2, true), be(u"\uFEFF\u65E5  \u041A\r\n"));
    EXPECT_EQ(fixed(le(u"\uFEFF\t"), 0, false), le(u"\uFEFF        \r\n")); // 0 gives 8
    EXPECT_EQ(fixed("\xFF\xFE"s, 8, false), "\xFF\xFE\r\0\n\0"s);           // BOM alone
}

struct DetectCase {
    std::string bytes;
    std::optional<TextEncoding> encoding; // none: not plain text (62)
};

std::optional<TextEncoding> detectInBlocks(const std::string &bytes, std::size_t block) {
    try {
        EncodingDetector detector(bytes.size());
        for (std::size_t at = 0; at < bytes.size(); at += block)
            detector.feed(bytes.data() + at, std::min(block, bytes.size() - at));
        return detector.finish();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, 62);
        return std::nullopt;
    }
}

TEST(EncodingDetector, NamesTheEncodingOrRejectsTheFile) {
    using E = TextEncoding;
    const DetectCase cases[] = {
        {"", E::Ansi},
        {"abc\tdef\r\n", E::Ansi},
        {"caf\xC3\xA9", E::Utf8},
        {"\xE6\x97\xA5", E::Utf8},
        {"\xF0\x9F\x98\x80", E::Utf8},
        {"caf\xE9", E::Ansi},            // Latin-1 byte: invalid UTF-8, stays ANSI
        {"\xC3\xA9 then \xE9", E::Ansi}, // valid first, invalid later
        {"\xC3", E::Ansi},               // cut at the end
        {"\xC0\x80", E::Ansi},           // overlong
        {"\xED\xA0\x80", E::Ansi},       // surrogate
        {"\xF4\x90\x80\x80", E::Ansi},   // past U+10FFFF
        {"\xEF\xBB\xBF", E::Utf8Bom},    // BOM alone
        {"\xEF\xBB\xBF"
         "abc",
         E::Utf8Bom},
        {"\xEF\xBB\xBF\xFF\xFE", E::Utf8Bom}, // invalid after a BOM: still UTF-8
        {"\xEF\xBB", E::Ansi},
        {"\xEF", E::Ansi},
        {"a\x1A", E::Ansi}, // 0x1A as the last byte is allowed
        {"a\x1A"
         "b",
         std::nullopt},
        {"\xC3\xA9\x1A"
         "b",
         std::nullopt},
        {"\xEF\xBB\xBF\x1A"
         "b",
         std::nullopt},
        {"\xFF\xFE"s, E::Utf16Le}, // BOM alone
        {"\xFE\xFF"s, E::Utf16Be},
        {"\xFF\xFE"
         "a\0\x1A\x04"s,
         E::Utf16Le}, // U+041A holds a byte 0x1A
        {"\xFF\xFE"
         "a\0\x1A\0"s,
         E::Utf16Le}, // U+001A last
        {"\xFF\xFE"
         "a\0\x1A\0b\0"s,
         std::nullopt}, // U+001A before the end
        {"\xFF\xFE"
         "a"s,
         std::nullopt}, // odd length
        {"\xFF\xFE"
         "a\0b"s,
         std::nullopt},
        {"\xFF\xFE\x00\xD8"
         "a\0"s,
         std::nullopt},                            // high surrogate alone
        {"\xFF\xFE\x00\xD8"s, std::nullopt},       // ... at the end
        {"\xFF\xFE\x00\xDC"s, std::nullopt},       // low surrogate alone
        {"\xFE\xFF\xD8\x3D\xDE\x00"s, E::Utf16Be}, // a pair
    };
    for (const DetectCase &c : cases)
        for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{65536}})
            EXPECT_EQ(detectInBlocks(c.bytes, block), c.encoding)
                << ::testing::PrintToString(c.bytes) << " blocks of " << block;
}

// The byte that decides, after an ASCII run of every length from 0 to 160 (the detector passes
// ASCII 64 or 16 bytes at a time) and before more ASCII, in blocks of several sizes.
TEST(EncodingDetector, DecidesAfterAsciiRunsOfEveryLength) {
    using E = TextEncoding;
    const std::string ascii(90, 'b');
    const DetectCase cases[] = {
        {"\xC3\xA9" + ascii, E::Utf8},
        {"\xE6\x97\xA5" + ascii, E::Utf8},
        {"\xC3\xA9" + ascii + "\x1A", E::Utf8}, // the mark last
        {ascii + "\x1A", E::Ansi},
        {"\xFF" + ascii, E::Ansi},
        {"\xE6\x97" + ascii, E::Ansi}, // cut short by an ASCII byte
        {"\x1A" + ascii, std::nullopt},
        {"\xFF" + ascii + "\x1A" + ascii, std::nullopt}, // a mark after the text is known not to be UTF-8
        {"\xC3\xA9" + ascii + "\x1A" + ascii, std::nullopt},
    };
    for (std::size_t run = 0; run <= 160; ++run)
        for (const DetectCase &c : cases)
            for (std::size_t block : {std::size_t{5}, std::size_t{16}, std::size_t{63}, std::size_t{65536}})
                EXPECT_EQ(detectInBlocks(std::string(run, 'a') + c.bytes, block), c.encoding)
                    << ::testing::PrintToString(c.bytes) << " after " << run << " in blocks of " << block;
}

} // namespace
