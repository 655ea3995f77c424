// The fast rules against the literal rescan, over many generated texts: runs of tabs, lone and
// paired line ends, end-of-text marks, widths 1 to 40 and some that must fail.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "engine/byte_scan.h"
#include "engine/line_rules.h"
#include "engine/text_stream.h"
#include "engine/whole_text.h"
#include "rescan_reference.h"

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
        if (c == '\x1A' && rng() % 4 != 0)
            c = 'z'; // keep the mark rare so most texts are read to the end
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
        if (rng() % 3000 == 0)
            text += '\x1A';
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
        if (rng() % 4 == 0)
            text.append(rng() % 4, '\t');
        const std::size_t columns = rng() % 8 == 0 ? rng() % 300 : rng() % 60;
        for (std::size_t i = 0; i < columns; ++i)
            text += rng() % 6 == 0 ? ' ' : static_cast<char>('a' + rng() % 26);
        const unsigned ending = rng() % 200;
        if (ending < 6)
            text += '\t';
        text += ending < 4 ? "\n" : ending < 6 ? "\r" : "\r\n";
        if (rng() % 5000 == 0)
            text += '\x1A';
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
std::string scanPathName(const ::testing::TestParamInfo<scan::Path> &info) { return scan::pathName(info.param); }
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

int16_t randomWidth(std::mt19937 &rng) {
    if (rng() % 20 == 0)
        return static_cast<int16_t>(static_cast<int>(rng() % 3) - 2); // -2, -1, 0
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
        for (char c : text)
            expected += c == '\t' ? std::string(run, ' ') : std::string(1, c);
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

} // namespace
