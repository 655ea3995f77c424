// The fast rules against the literal rescan, over many generated texts: runs of tabs, lone and
// paired line ends, end-of-text marks, widths 1 to 40 and some that must fail.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "byte_scan.h"
#include "converter.h"
#include "line_rules.h"
#include "rescan_reference.h"
#include "text_encoding.h"
#include "text_stream.h"
#include "unicode_stream.h"
#include "whole_text.h"

namespace {

std::string randomText(std::mt19937 &rng, std::size_t maxLength) {
    static constexpr char pieces[] = {'a', 'b', 'c', ' ', '\t', '\t', '\t', '\r', '\n', '\xE9', '\x1A'};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof pieces - 1);
    std::uniform_int_distribution<int> run(1, 20);
    std::string text;
    const std::size_t n = length(rng);
    while (text.size() < n) {
        char c = pieces[pick(rng)];
        if (c == '\x1A' && rng() % 4 != 0) c = 'z'; // keep the mark rare so most texts are read to the end
        const int count = (c == '\t' || c == 'a') ? run(rng) : 1;
        text.append(static_cast<std::size_t>(count), c);
    }
    return text;
}

// Tab-separated fields of 0 to 20 letters, now and then a long one (the gaps between tabs decide
// how the chunked paths copy), a rare line end and a rarer end mark.
std::string tabSeparatedText(std::mt19937 &rng, std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    const std::size_t n = length(rng);
    std::string text;
    while (text.size() < n) {
        const std::size_t field = rng() % 8 == 0 ? rng() % 90 : rng() % 21;
        text.append(field, static_cast<char>('a' + rng() % 26));
        const unsigned separator = rng() % 100;
        text += separator < 2 ? "\r\n" : separator < 3 ? "\n" : separator < 4 ? "\r" : "\t";
        if (rng() % 3000 == 0) text += '\x1A';
    }
    return text;
}

// Lines as in source code: mostly letters and spaces, CR LF ends, an indent of tabs now and then,
// lines from empty to a few hundred columns (past the stop tables), and rarely a lone LF, a lone CR,
// a tab at a line's end or an end mark. Chunks of such text often hold no tab at all.
std::string sourceLikeText(std::mt19937 &rng, std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    const std::size_t n = length(rng);
    std::string text;
    while (text.size() < n) {
        if (rng() % 4 == 0) text.append(rng() % 4, '\t');
        const std::size_t columns = rng() % 8 == 0 ? rng() % 300 : rng() % 60;
        for (std::size_t i = 0; i < columns; ++i)
            text += rng() % 6 == 0 ? ' ' : static_cast<char>('a' + rng() % 26);
        const unsigned ending = rng() % 200;
        if (ending < 6) text += '\t';
        text += ending < 4 ? "\n" : ending < 6 ? "\r" : "\r\n";
        if (rng() % 5000 == 0) text += '\x1A';
    }
    return text;
}

// Texts of every kind, in turn.
std::string someText(std::mt19937 &rng, int i, std::size_t maxLength) {
    switch (i % 3) {
    case 0: return randomText(rng, maxLength);
    case 1: return tabSeparatedText(rng, maxLength);
    default: return sourceLikeText(rng, maxLength);
    }
}

// The randomized tests run once for each set of chunk loops the processor offers (a path it lacks
// is skipped), and on the portable build once for its plain loops.
#ifdef QM_SSE2
class EachScanPath : public ::testing::TestWithParam<scan::Path> {
protected:
    void SetUp() override {
        if (!scan::usePath(GetParam()))
            GTEST_SKIP() << "this processor has no " << scan::pathName(GetParam());
    }
    void TearDown() override { scan::usePath(saved_); }

private:
    scan::Path saved_ = scan::activePath();
};
const auto scanPaths = ::testing::Values(scan::Path::Sse2, scan::Path::Avx2);
std::string scanPathName(const ::testing::TestParamInfo<scan::Path> &info) {
    return scan::pathName(info.param);
}
#else
class EachScanPath : public ::testing::TestWithParam<int> {};
const auto scanPaths = ::testing::Values(0);
std::string scanPathName(const ::testing::TestParamInfo<int> &) { return "portable"; }
#endif

class TabStopsRandomized : public EachScanPath {};
class FixedSpacesRandomized : public EachScanPath {};
INSTANTIATE_TEST_SUITE_P(Paths, TabStopsRandomized, scanPaths, scanPathName);
INSTANTIATE_TEST_SUITE_P(Paths, FixedSpacesRandomized, scanPaths, scanPathName);

// The result of a conversion, or the error number it threw.
struct Outcome {
    std::string text;
    std::optional<int32_t> error;
    bool operator==(const Outcome &) const = default;
};

void PrintTo(const Outcome &outcome, std::ostream *os) {
    if (outcome.error)
        *os << "error " << *outcome.error;
    else
        *os << ::testing::PrintToString(outcome.text);
}

template <typename F> Outcome outcomeOf(F &&convert) {
    try {
        return {convert(), std::nullopt};
    } catch (const AppError &e) {
        return {"", e.number};
    }
}

std::string convertInRandomBlocks(std::mt19937 &rng, std::string_view text, int16_t width) {
    TabStopConverter converter(width);
    std::string out;
    // Small blocks split every pair and run; large ones take the chunked paths, the largest for
    // many chunks in a row.
    static constexpr std::size_t largest[] = {24, 400, 400, 6000};
    std::uniform_int_distribution<std::size_t> blockSize(0, largest[rng() % 4]);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t n = std::min(blockSize(rng), text.size() - at);
        converter.feed(text.data() + at, n, out);
        at += n;
    }
    converter.finish(out);
    return out;
}

// Tab stops every `width` columns with line ends kept, fed in blocks of 0 to maxBlock bytes. Blocks
// shorter than two chunks (under 64 bytes) never take the chunk loops: only the core's byte routine.
std::unique_ptr<StreamConverter> keptEndsEvery(std::size_t width) {
    ConversionMode mode;
    mode.stops = TabStops::every(width);
    mode.lineEnds = LineEnds::Kept;
    return makeConverter(TextEncoding::Ansi, mode);
}

std::string convertKeptInBlocks(std::mt19937 &rng, std::string_view text, std::size_t width,
                                std::size_t maxBlock) {
    const std::unique_ptr<StreamConverter> converter = keptEndsEvery(width);
    std::string out;
    std::uniform_int_distribution<std::size_t> blockSize(0, maxBlock);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = std::min(blockSize(rng), text.size() - at);
        converter->feed(text.data() + at, n, out);
        at += n;
    }
    converter->finish(out);
    return out;
}

int16_t randomWidth(std::mt19937 &rng) {
    if (rng() % 20 == 0) return static_cast<int16_t>(static_cast<int>(rng() % 3) - 2); // -2, -1, 0
    return static_cast<int16_t>(1 + rng() % 40);
}

TEST_P(TabStopsRandomized, LinearRuleMatchesLiteralRescan) {
    std::mt19937 rng(20261207);
    for (int i = 0; i < 20000; ++i) {
        const std::string line = randomText(rng, 120);
        const int16_t width = randomWidth(rng);
        const Outcome fast = outcomeOf([&] { return replaceFixed(line, width); });
        const Outcome slow = outcomeOf([&] { return rescanReplaceFixed(line, width); });
        ASSERT_EQ(fast, slow) << "width " << width << " line " << ::testing::PrintToString(line);
    }
}

TEST_P(TabStopsRandomized, ConverterInRandomBlocksMatchesLineByLineRescan) {
    std::mt19937 rng(7);
    for (int i = 0; i < 10000; ++i) {
        const std::string text = someText(rng, i, i % 4 < 2 ? (i % 8 == 0 ? 20000 : 1500) : 200);
        const int16_t width = randomWidth(rng);
        const Outcome streamed = outcomeOf([&] { return convertInRandomBlocks(rng, text, width); });
        const Outcome slow = outcomeOf([&] { return rescanTabStopFile(text, width); });
        const Outcome whole = outcomeOf([&] { return expandTabStopsWhole(text, width); });
        ASSERT_EQ(streamed, slow) << "width " << width << " text " << ::testing::PrintToString(text);
        ASSERT_EQ(whole, slow) << "width " << width << " text " << ::testing::PrintToString(text);
    }
}

// Line ends kept: CR and LF both restart the column and every other byte, the end mark too, is one.
TEST_P(TabStopsRandomized, KeptLineEndsInLargeBlocksMatchTheByteRoutineAndRescan) {
    std::mt19937 rng(1207);
    for (int i = 0; i < 6000; ++i) {
        const std::string text = someText(rng, i, i % 4 < 2 ? (i % 8 == 0 ? 20000 : 1500) : 300);
        const std::size_t width = 1 + rng() % 20; // past 16 the core's byte routine takes every width
        const std::string chunked = convertKeptInBlocks(rng, text, width, rng() % 2 == 0 ? 400 : 6000);
        ASSERT_EQ(chunked, convertKeptInBlocks(rng, text, width, 63))
            << "width " << width << " text " << ::testing::PrintToString(text);
        ASSERT_EQ(chunked, rescanKeptTabStops(text, width))
            << "width " << width << " text " << ::testing::PrintToString(text);
    }
}

// A CR LF pair split between the last chunk a loop takes and the bytes after it: the pair ends the
// line, so an end mark right after it leaves nothing to close. Chunks are 32 or 64 bytes.
class TabStopsChunkEdges : public EachScanPath {};
INSTANTIATE_TEST_SUITE_P(Paths, TabStopsChunkEdges, scanPaths, scanPathName);

TEST_P(TabStopsChunkEdges, PairSplitAfterTheLastChunkThenEndMark) {
    for (const std::size_t chunk : {32u, 64u}) {
        const std::string text = std::string(chunk - 1, 'a') + "\r\n\x1A" + std::string(chunk - 2, 'b');
        TabStopConverter converter(8);
        std::string out;
        converter.feed(text.data(), text.size(), out);
        converter.finish(out);
        EXPECT_EQ(out, std::string(chunk - 1, 'a') + "\r\n") << chunk;
    }
}

TEST_P(TabStopsChunkEdges, LongLineWithoutTabsThenTabKeepsItsColumn) {
    // 300 columns of plain text across many chunks, then a tab: column 300 is 4 past a stop of 8.
    const std::string text = std::string(300, 'x') + "\ty\r\n" + std::string(200, 'z');
    TabStopConverter converter(8);
    std::string out;
    converter.feed(text.data(), text.size(), out);
    converter.finish(out);
    EXPECT_EQ(out, std::string(300, 'x') + "    y\r\n" + std::string(200, 'z') + "\r\n");

    // With line ends kept a lone CR, here the last byte of a chunk, starts the column again; the
    // end mark after it is a column like any other.
    const std::unique_ptr<StreamConverter> keptEnds = keptEndsEvery(8);
    const std::string kept = std::string(300, 'x') + "\ty" + std::string(81, 'a') + "\r\tb\x1A" +
                             std::string(200, 'z') + "\t!" + std::string(200, '.');
    out.clear();
    keptEnds->feed(kept.data(), kept.size(), out);
    keptEnds->finish(out);
    EXPECT_EQ(out, std::string(300, 'x') + "    y" + std::string(81, 'a') + "\r        b\x1A" +
                       std::string(200, 'z') + "      !" + std::string(200, '.'));
}

// The chunk loops tell a plain chunk by each byte and whether an LF follows it. Every byte value,
// at every place in a chunk, with and without an LF after it, comes out as the literal rescan has it;
// with line ends kept, as the rescan and the core's byte routine have it.
TEST_P(TabStopsChunkEdges, EveryByteWithAndWithoutALineFeedAfterIt) {
    std::mt19937 rng(5);
    for (int byte = 0; byte < 256; ++byte)
        for (const char after : {'\n', 'z'})
            for (std::size_t at = 0; at < 64; ++at) {
                const std::string text = std::string(at, 'x') + static_cast<char>(byte) + after + "a\tb" +
                                         std::string(150, 'y') + "\r\n";
                TabStopConverter converter(8);
                std::string out;
                converter.feed(text.data(), text.size(), out);
                converter.finish(out);
                ASSERT_EQ(out, rescanTabStopFile(text, 8)) << "byte " << byte << " at " << at;

                const std::unique_ptr<StreamConverter> keptEnds = keptEndsEvery(8);
                std::string kept;
                keptEnds->feed(text.data(), text.size(), kept);
                keptEnds->finish(kept);
                ASSERT_EQ(kept, rescanKeptTabStops(text, 8)) << "kept, byte " << byte << " at " << at;
                ASSERT_EQ(kept, convertKeptInBlocks(rng, text, 8, 63))
                    << "kept, byte " << byte << " at " << at;
            }
}

TEST_P(FixedSpacesRandomized, ConverterInRandomBlocksMatchesWholeText) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> number(-3, 20);
    for (int i = 0; i < 5000; ++i) {
        const std::string text = someText(rng, i, i % 4 < 2 ? 1500 : 200);
        const auto n = static_cast<int16_t>(number(rng));
        FixedSpacesConverter converter(n);
        std::string out;
        const std::size_t maxBlock = rng() % 2 == 0 ? 30 : rng() % 2 == 0 ? 400 : 6000;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t size = std::min<std::size_t>(rng() % maxBlock, text.size() - at);
            converter.feed(text.data() + at, size, out);
            at += size;
        }
        converter.finish(out);

        std::string expected;
        const std::size_t run = (n >= 1 && n <= 16) ? static_cast<std::size_t>(n) : 8;
        for (char c : text) expected += c == '\t' ? std::string(run, ' ') : std::string(1, c);
        expected += "\r\n";
        ASSERT_EQ(out, expected);
        ASSERT_EQ(fixedSpacesWhole(text, n), expected);
    }
}

TEST(WholeReadRandomized, BlockCheckAgreesWithWholeCheck) {
    std::mt19937 rng(3);
    for (int i = 0; i < 5000; ++i) {
        const std::string text = randomText(rng, 60);
        const Outcome whole = outcomeOf([&] {
            wholeReadCheck(text);
            return std::string();
        });
        const Outcome blocks = outcomeOf([&] {
            WholeReadCheck check(text.size());
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t size = std::min<std::size_t>(rng() % 9, text.size() - at);
                check.feed(text.data() + at, size);
                at += size;
            }
            return std::string();
        });
        const std::size_t mark = text.find('\x1A');
        const bool endsEarly = mark != std::string::npos && mark + 1 < text.size();
        ASSERT_EQ(whole.error.has_value(), endsEarly) << ::testing::PrintToString(text);
        ASSERT_EQ(blocks, whole) << ::testing::PrintToString(text);
    }
}

// Unicode text as pieces whose bytes and display columns are written out here by hand: the
// reference below expands them the literal way, and the streaming converters must agree whatever
// the block boundaries.
struct Piece {
    enum Kind { Text, Tab, Cr, Lf, EndMark };
    Kind kind;
    std::string bytes;
    unsigned columns;
};

// UTF-8: letters of 1 and 2 columns, combining and zero-width marks, a 4-byte character, an ASCII
// run long enough for the 16-byte scan, and ill-formed bytes that count one column each.
const std::vector<Piece> &utf8Pieces() {
    static const std::vector<Piece> pieces = {
        {Piece::Text, "a", 1},
        {Piece::Text, " ", 1},
        {Piece::Text, "abcdefghijklmnopqrstu", 21},
        {Piece::Tab, "\t", 0},
        {Piece::Tab, "\t", 0},
        {Piece::Cr, "\r", 0},
        {Piece::Lf, "\n", 0},
        {Piece::EndMark, "\x1A", 0},
        {Piece::Text, "\xC3\xA9", 1},         // e acute
        {Piece::Text, "\xE6\x97\xA5", 2},     // CJK ideograph
        {Piece::Text, "\xEF\xBC\xA1", 2},     // fullwidth A
        {Piece::Text, "\xCC\x81", 0},         // combining acute
        {Piece::Text, "\xE2\x80\x8B", 0},     // zero-width space
        {Piece::Text, "\xF0\x9F\x98\x80", 2}, // emoji, four bytes
        {Piece::Text, "\xFF", 1},             // never in UTF-8
        {Piece::Text, "\x80", 1},             // continuation byte alone
        {Piece::Text, "\xE6\x97", 2},         // sequence cut short
        {Piece::Text, "\xF0\x9F\x98", 3},     // four-byte sequence cut short
        {Piece::Text, "\xED\xA0\x80", 3},     // encoded surrogate
    };
    return pieces;
}

// The UTF-8 pieces with ASCII runs six times as likely as the rest, as in source text: long stretches
// of whole chunks with characters of every kind among them.
const std::vector<Piece> &mostlyAsciiUtf8Pieces() {
    static const std::vector<Piece> pieces = [] {
        std::vector<Piece> from = utf8Pieces();
        const Piece ascii[] = {{Piece::Text, "x", 1},
                               {Piece::Text, "0123456", 7},
                               {Piece::Text, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ", 36}};
        for (int copies = 0; copies < 6; ++copies)
            from.insert(from.end(), std::begin(ascii), std::end(ascii));
        return from;
    }();
    return pieces;
}

// UTF-16 code units as little-endian bytes: letters of 1 and 2 columns, a surrogate pair, a
// combining mark, characters whose bytes hold 0x09, 0x0A, 0x0D or 0x1A, and unpaired surrogates.
const std::vector<Piece> &utf16Pieces() {
    static const std::vector<Piece> pieces = {
        {Piece::Text, std::string("a\0", 2), 1},
        {Piece::Text, std::string("a\0b\0c\0d\0e\0f\0g\0h\0i\0j\0", 20), 10},
        {Piece::Tab, std::string("\t\0", 2), 0},
        {Piece::Tab, std::string("\t\0", 2), 0},
        {Piece::Cr, std::string("\r\0", 2), 0},
        {Piece::Lf, std::string("\n\0", 2), 0},
        {Piece::EndMark, std::string("\x1A\0", 2), 0},
        {Piece::Text, std::string("\xE9\0", 2), 1},           // e acute
        {Piece::Text, std::string("\xE5\x65", 2), 2},         // CJK ideograph U+65E5
        {Piece::Text, std::string("\x01\x03", 2), 0},         // combining acute U+0301
        {Piece::Text, std::string("\x3D\xD8\x00\xDE", 4), 2}, // emoji U+1F600 as a pair
        {Piece::Text, std::string("\x1A\x04", 2), 1},         // Cyrillic U+041A
        {Piece::Text, std::string("\x0A\x0D", 2), 1},         // Malayalam U+0D0A
        {Piece::Text, std::string("\x09\x09", 2), 1},         // Devanagari U+0909
        {Piece::Text, std::string("\x00\xD8", 2), 1},         // high surrogate alone
        {Piece::Text, std::string("\x00\xDC", 2), 1},         // low surrogate alone
    };
    return pieces;
}

bool isLoneLow(const Piece &piece) { return piece.bytes == std::string("\x00\xDC", 2); }
bool isLoneHigh(const Piece &piece) { return piece.bytes == std::string("\x00\xD8", 2); }

// Pieces drawn at random; a cut UTF-8 sequence is never followed by a continuation byte, nor a lone
// high surrogate by a lone low one, since together they would make a character.
std::vector<Piece> randomPieces(std::mt19937 &rng, const std::vector<Piece> &from, std::size_t maxPieces) {
    std::vector<Piece> pieces;
    const std::size_t n = rng() % (maxPieces + 1);
    while (pieces.size() < n) {
        const Piece &next = from[rng() % from.size()];
        if (next.kind == Piece::EndMark && rng() % 4 != 0) continue;
        if (!pieces.empty()) {
            const Piece &last = pieces.back();
            const bool cut = last.bytes == "\xE6\x97" || last.bytes == "\xF0\x9F\x98";
            if ((cut && next.bytes == "\x80") || (isLoneHigh(last) && isLoneLow(next))) continue;
        }
        pieces.push_back(next);
    }
    return pieces;
}

std::string bytesOf(const std::vector<Piece> &pieces) {
    std::string bytes;
    for (const Piece &piece : pieces) bytes += piece.bytes;
    return bytes;
}

// The tab-stop rule done literally over pieces: cut at the end mark, split lines at CR / CR LF,
// then find the first tab, count the columns before it back to the line's start or its last lone
// line feed, replace it by spaces, and search again from the start.
std::string rescanPieces(const std::vector<Piece> &pieces, int16_t width, const std::string &space,
                         const std::string &lineEnd) {
    std::vector<std::vector<Piece>> lines;
    std::vector<Piece> line;
    bool open = false;
    for (std::size_t i = 0; i < pieces.size() && pieces[i].kind != Piece::EndMark; ++i) {
        if (pieces[i].kind == Piece::Cr) {
            lines.push_back(line);
            line.clear();
            open = false;
            if (i + 1 < pieces.size() && pieces[i + 1].kind == Piece::Lf) ++i;
            continue;
        }
        line.push_back(pieces[i]);
        open = true;
    }
    if (open) lines.push_back(line);
    std::string out;
    for (std::vector<Piece> &w : lines) {
        for (;;) {
            std::size_t tab = 0;
            while (tab < w.size() && w[tab].kind != Piece::Tab) ++tab;
            if (tab == w.size()) break;
            int32_t column = 0;
            for (std::size_t j = 0; j < tab; ++j)
                column = w[j].kind == Piece::Lf ? 0 : column + static_cast<int32_t>(w[j].columns);
            if (width == 0) raiseError(err::DivisionByZero);
            const int32_t k = width - column % width;
            if (k < 0) raiseError(err::InvalidCall);
            w.erase(w.begin() + static_cast<std::ptrdiff_t>(tab));
            w.insert(w.begin() + static_cast<std::ptrdiff_t>(tab), static_cast<std::size_t>(k),
                     Piece{Piece::Text, space, 1});
        }
        out += bytesOf(w) + lineEnd;
    }
    return out;
}

// Little-endian code units turned to big-endian ones.
std::string swapUnits(std::string bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

// Every split of the text into two blocks when it is short, otherwise random blocks of 0 to 9 or
// 0 to 300 bytes, so that sequences, pairs and CR LF are cut at every byte.
template <class Converter, class Make>
void forEachSplit(std::mt19937 &rng, const std::string &text, Make make,
                  const std::function<void(const Outcome &)> &check) {
    const auto run = [&](const std::vector<std::size_t> &cuts) {
        check(outcomeOf([&] {
            Converter converter = make();
            std::string out;
            std::size_t at = 0;
            for (std::size_t cut : cuts) {
                converter.feed(text.data() + at, cut - at, out);
                at = cut;
            }
            converter.feed(text.data() + at, text.size() - at, out);
            converter.finish(out);
            return out;
        }));
    };
    if (text.size() <= 80) {
        for (std::size_t cut = 0; cut <= text.size(); ++cut) run({cut});
        return;
    }
    const std::size_t maxBlock = rng() % 2 == 0 ? 9 : 300;
    std::vector<std::size_t> cuts;
    for (std::size_t at = rng() % maxBlock; at < text.size(); at += rng() % maxBlock) cuts.push_back(at);
    run(cuts);
}

class Utf8Randomized : public EachScanPath {};
INSTANTIATE_TEST_SUITE_P(Paths, Utf8Randomized, scanPaths, scanPathName);

TEST_P(Utf8Randomized, ConverterAtEverySplitMatchesLiteralRescan) {
    std::mt19937 rng(1208);
    const std::string bom = "\xEF\xBB\xBF";
    for (int i = 0; i < 3000; ++i) {
        const std::vector<Piece> pieces = randomPieces(rng, utf8Pieces(), i % 3 == 0 ? 200 : 25);
        const bool withBom = rng() % 2 == 0;
        const std::string text = (withBom ? bom : "") + bytesOf(pieces);
        const int16_t width = randomWidth(rng);
        const Outcome expected =
            outcomeOf([&] { return (withBom ? bom : "") + rescanPieces(pieces, width, " ", "\r\n"); });
        forEachSplit<Utf8TabStopConverter>(
            rng, text, [&] { return Utf8TabStopConverter(width, withBom); },
            [&](const Outcome &got) {
                ASSERT_EQ(got, expected) << "width " << width << " text " << ::testing::PrintToString(text);
            });
    }
}

// Long lines of mostly ASCII text with characters of every kind among them, in large blocks: the
// converter reads such text a whole chunk (32 or 64 bytes) at a time, so characters, tab runs and
// CR LF pairs fall across chunk ends as well as block ends.
TEST_P(Utf8Randomized, LargeBlocksOfMostlyAsciiMatchLiteralRescan) {
    std::mt19937 rng(2611);
    const std::vector<Piece> &from = mostlyAsciiUtf8Pieces();
    for (int i = 0; i < 1500; ++i) {
        const std::vector<Piece> pieces = randomPieces(rng, from, 400);
        const std::string text = bytesOf(pieces);
        const auto width = static_cast<int16_t>(i % 10 == 0 ? 17 + rng() % 8 : 1 + rng() % 16);
        const Outcome expected = outcomeOf([&] { return rescanPieces(pieces, width, " ", "\r\n"); });
        const std::size_t maxBlock = i % 2 == 0 ? text.size() + 1 : 200 + rng() % 2000;
        const Outcome got = outcomeOf([&] {
            Utf8TabStopConverter converter(width, false);
            std::string out;
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t n = std::min<std::size_t>(1 + rng() % maxBlock, text.size() - at);
                converter.feed(text.data() + at, n, out);
                at += n;
            }
            converter.finish(out);
            return out;
        });
        ASSERT_EQ(got, expected) << "width " << width << " text " << ::testing::PrintToString(text);
    }
}

// The literal form of line ends kept: a CR and an LF each restart the column, an end mark is a column
// like any other character, and nothing is added.
std::string rescanKeptPieces(const std::vector<Piece> &pieces, std::size_t width) {
    std::string out;
    std::size_t column = 0;
    for (const Piece &piece : pieces) {
        switch (piece.kind) {
        case Piece::Tab: {
            const std::size_t run = width - column % width;
            out.append(run, ' ');
            column += run;
            break;
        }
        case Piece::Cr:
        case Piece::Lf:
            out += piece.bytes;
            column = 0;
            break;
        case Piece::EndMark:
            out += piece.bytes;
            ++column;
            break;
        case Piece::Text:
            out += piece.bytes;
            column += piece.columns;
            break;
        }
    }
    return out;
}

// UTF-8 with line ends kept (the console program's mode), in large blocks of mostly ASCII text: whole
// chunks go through the chunk loop, characters, tab runs and line ends falling across chunk and block
// ends.
TEST_P(Utf8Randomized, KeptLineEndsInLargeBlocksMatchLiteralRescan) {
    std::mt19937 rng(2612);
    const std::vector<Piece> &from = mostlyAsciiUtf8Pieces();
    for (int i = 0; i < 1500; ++i) {
        const std::vector<Piece> pieces = randomPieces(rng, from, 400);
        const std::string text = bytesOf(pieces);
        const std::size_t width = i % 10 == 0 ? 17 + rng() % 8 : 1 + rng() % 16;
        ConversionMode mode;
        mode.stops = TabStops::every(width);
        mode.lineEnds = LineEnds::Kept;
        const std::unique_ptr<StreamConverter> converter = makeConverter(TextEncoding::Utf8, mode);
        const std::size_t maxBlock = i % 2 == 0 ? text.size() + 1 : 200 + rng() % 2000;
        std::string out;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t n = std::min<std::size_t>(1 + rng() % maxBlock, text.size() - at);
            converter->feed(text.data() + at, n, out);
            at += n;
        }
        converter->finish(out);
        ASSERT_EQ(out, rescanKeptPieces(pieces, width))
            << "width " << width << " text " << ::testing::PrintToString(text);
    }
}

TEST(Utf16Randomized, BothRulesAtEverySplitMatchLiteralForms) {
    std::mt19937 rng(1609);
    for (int i = 0; i < 3000; ++i) {
        const std::vector<Piece> pieces = randomPieces(rng, utf16Pieces(), i % 3 == 0 ? 120 : 15);
        const bool bigEndian = rng() % 2 == 0;
        const auto order = [&](const std::string &le) { return bigEndian ? swapUnits(le) : le; };
        const std::string bom = order(std::string("\xFF\xFE", 2));
        const std::string text = bom + order(bytesOf(pieces));
        const int16_t width = randomWidth(rng);
        const Outcome expectedStops = outcomeOf([&] {
            return bom +
                   order(rescanPieces(pieces, width, std::string(" \0", 2), std::string("\r\0\n\0", 4)));
        });
        forEachSplit<Utf16Converter>(
            rng, text, [&] { return Utf16Converter(Utf16Converter::Rule::TabStops, width, bigEndian); },
            [&](const Outcome &got) {
                ASSERT_EQ(got, expectedStops)
                    << "width " << width << " text " << ::testing::PrintToString(text);
            });

        const auto n = static_cast<int16_t>(static_cast<int>(rng() % 24) - 3);
        const std::size_t run = (n >= 1 && n <= 16) ? static_cast<std::size_t>(n) : 8;
        std::string fixed;
        for (const Piece &piece : pieces) {
            for (std::size_t s = 0; s < (piece.kind == Piece::Tab ? run : 0); ++s)
                fixed += std::string(" \0", 2);
            if (piece.kind != Piece::Tab) fixed += piece.bytes;
        }
        const Outcome expectedFixed{bom + order(fixed + std::string("\r\0\n\0", 4)), std::nullopt};
        forEachSplit<Utf16Converter>(
            rng, text, [&] { return Utf16Converter(Utf16Converter::Rule::FixedSpaces, n, bigEndian); },
            [&](const Outcome &got) { ASSERT_EQ(got, expectedFixed) << "n " << n; });
    }
}

// The detector against the plain statement of its rules, over the same pieces, fed in two blocks
// cut at every byte.
TEST(EncodingDetectorRandomized, AgreesAtEverySplit) {
    std::mt19937 rng(77);
    for (int i = 0; i < 2000; ++i) {
        const bool utf16 = i % 2 == 0;
        const std::vector<Piece> pieces = randomPieces(rng, utf16 ? utf16Pieces() : utf8Pieces(), 12);
        std::string text = (utf16 ? std::string("\xFF\xFE", 2) : "") + bytesOf(pieces);
        bool fails = false;
        TextEncoding expected = TextEncoding::Ansi;
        if (utf16) {
            expected = TextEncoding::Utf16Le;
            for (std::size_t j = 0; j < pieces.size(); ++j) {
                fails = fails || isLoneHigh(pieces[j]) || isLoneLow(pieces[j]) ||
                        (pieces[j].kind == Piece::EndMark && j + 1 < pieces.size());
            }
        } else {
            bool valid = true, multiByte = false;
            for (std::size_t j = 0; j < pieces.size(); ++j) {
                const std::string &b = pieces[j].bytes;
                if (b == "\xFF" || b == "\x80" || b == "\xE6\x97" || b == "\xF0\x9F\x98" ||
                    b == "\xED\xA0\x80")
                    valid = false;
                else if (static_cast<unsigned char>(b[0]) >= 0x80)
                    multiByte = true;
                fails = fails || (pieces[j].kind == Piece::EndMark && j + 1 < pieces.size());
            }
            if (text.rfind("\xEF\xBB\xBF", 0) == 0)
                expected = TextEncoding::Utf8Bom;
            else if (valid && multiByte)
                expected = TextEncoding::Utf8;
        }
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            std::optional<TextEncoding> found;
            const Outcome outcome = outcomeOf([&] {
                EncodingDetector detector(text.size());
                detector.feed(text.data(), cut);
                detector.feed(text.data() + cut, text.size() - cut);
                found = detector.finish();
                return std::string();
            });
            ASSERT_EQ(outcome.error.has_value(), fails) << ::testing::PrintToString(text);
            if (!fails) {
                ASSERT_EQ(*found, expected) << ::testing::PrintToString(text) << " cut " << cut;
            }
        }
    }
}

} // namespace
