// The fast rules against the literal rescan, over many generated texts: runs of tabs, lone and
// paired line ends, end-of-text marks, widths 1 to 40 and some that must fail.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "line_rules.h"
#include "text_stream.h"
#include "whole_text.h"
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

// Texts of both kinds, in turn.
std::string someText(std::mt19937 &rng, int i, std::size_t maxLength) {
    return i % 2 == 0 ? randomText(rng, maxLength) : tabSeparatedText(rng, maxLength);
}

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
    // Small blocks split every pair and run; large ones take the 16-byte paths.
    std::uniform_int_distribution<std::size_t> blockSize(0, rng() % 2 == 0 ? 24 : 400);
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

TEST(TabStopsRandomized, LinearRuleMatchesLiteralRescan) {
    std::mt19937 rng(20261207);
    for (int i = 0; i < 20000; ++i) {
        const std::string line = randomText(rng, 120);
        const int16_t width = randomWidth(rng);
        const Outcome fast = outcomeOf([&] { return replaceFixed(line, width); });
        const Outcome slow = outcomeOf([&] { return rescanReplaceFixed(line, width); });
        ASSERT_EQ(fast, slow) << "width " << width << " line " << ::testing::PrintToString(line);
    }
}

TEST(TabStopsRandomized, ConverterInRandomBlocksMatchesLineByLineRescan) {
    std::mt19937 rng(7);
    for (int i = 0; i < 10000; ++i) {
        const std::string text = someText(rng, i, i % 4 < 2 ? 1500 : 200);
        const int16_t width = randomWidth(rng);
        const Outcome streamed = outcomeOf([&] { return convertInRandomBlocks(rng, text, width); });
        const Outcome slow = outcomeOf([&] { return rescanTabStopFile(text, width); });
        const Outcome whole = outcomeOf([&] { return expandTabStopsWhole(text, width); });
        ASSERT_EQ(streamed, slow) << "width " << width << " text " << ::testing::PrintToString(text);
        ASSERT_EQ(whole, slow) << "width " << width << " text " << ::testing::PrintToString(text);
    }
}

TEST(FixedSpacesRandomized, ConverterInRandomBlocksMatchesWholeText) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> number(-3, 20);
    for (int i = 0; i < 5000; ++i) {
        const std::string text = someText(rng, i, i % 4 < 2 ? 1500 : 200);
        const auto n = static_cast<int16_t>(number(rng));
        FixedSpacesConverter converter(n);
        std::string out;
        const std::size_t maxBlock = rng() % 2 == 0 ? 30 : 400;
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
