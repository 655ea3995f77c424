// Line ends kept, stops from expand's -t argument and leading tabs only, against GNU expand itself
// over generated text: ASCII and other bytes, CR LF and LF line ends, no backspace and no lone CR
// (the two places where Quillmere counts columns its own way). Many texts go to one run of expand,
// each followed by a line that none of them holds, and its output is cut at those lines again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "converter.h"
#include "tab_stops.h"

namespace {

const std::string separator("\n\0\n", 3);

// A line: now and then leading blanks, then letters, blanks, runs of tabs, bytes of 0x80 and up and
// control bytes, ended by CR LF or LF (or, last in a text, by nothing).
std::string line(std::mt19937 &rng) {
    static constexpr char controls[] = {'\x01', '\x07', '\x0B', '\x0C', '\x1A', '\x1B', '\x7F'};
    std::string text;
    if (rng() % 2 == 0)
        for (unsigned i = rng() % 7; i > 0; --i) text += rng() % 2 == 0 ? ' ' : '\t';
    const unsigned pieces = rng() % 10 == 0 ? rng() % 120 : rng() % 16;
    for (unsigned i = 0; i < pieces; ++i) {
        const unsigned kind = rng() % 20;
        if (kind < 8)
            text.append(1 + rng() % 6, static_cast<char>('a' + rng() % 26));
        else if (kind < 11)
            text.append(1 + rng() % 3, ' ');
        else if (kind < 15)
            text.append(1 + rng() % 3, '\t');
        else if (kind < 18)
            text += static_cast<char>(0x80 + rng() % 0x80);
        else
            text += controls[rng() % sizeof controls];
    }
    return text;
}

std::string someText(std::mt19937 &rng) {
    std::string text;
    for (unsigned lines = rng() % 7; lines > 0; --lines) text += line(rng) + (rng() % 3 == 0 ? "\n" : "\r\n");
    if (rng() % 3 == 0) text += line(rng);
    return text;
}

// expand's -t argument: one number, or a list with "/N", "+N" or nothing after its last stop.
std::string everyN(std::mt19937 &rng) {
    return std::to_string(rng() % 8 == 0 ? 1 + rng() % 100 : 1 + rng() % 20);
}

std::string stopList(std::mt19937 &rng) {
    std::string text;
    std::size_t stop = 0;
    for (unsigned n = 1 + rng() % 6; n > 0; --n) {
        stop += 1 + rng() % 10;
        if (!text.empty()) text += rng() % 3 == 0 ? ' ' : ',';
        text += std::to_string(stop);
    }
    const unsigned after = rng() % 3;
    if (after != 0) {
        text += after == 1 ? ",/" : ",+";
        text += std::to_string(rng() % 13);
    }
    return text;
}

// expand's output for the texts, one after another, cut back into one output per text.
std::vector<std::string> expandEach(const std::vector<std::string> &texts, const std::string &tabs,
                                    bool initial) {
    // One file per process: ctest runs these tests of the plain and the portable build side by side.
    const std::filesystem::path input = std::filesystem::path(::testing::TempDir()) /
                                        ("quillmere_expand_input_" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream file(input, std::ios::binary);
        for (const std::string &text : texts) file << text << separator;
    }
    const std::string command =
        "LC_ALL=C expand " + std::string(initial ? "-i " : "") + "-t '" + tabs + "' '" + input.string() + "'";
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << command;
    }
    std::filesystem::remove(input);
    std::vector<std::string> outputs;
    for (std::size_t at = 0, next; (next = output.find(separator, at)) != std::string::npos;
         at = next + separator.size())
        outputs.push_back(output.substr(at, next - at));
    return outputs;
}

std::string convertInBlocks(std::mt19937 &rng, TextEncoding encoding, const ConversionMode &mode,
                            const std::string &text) {
    const std::unique_ptr<StreamConverter> converter = makeConverter(encoding, mode);
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n =
            std::min<std::size_t>(rng() % 3 == 0 ? rng() % 8 : rng() % 400, text.size() - at);
        converter->feed(text.data() + at, n, out);
        at += n;
    }
    converter->finish(out);
    return out;
}

std::string asUtf16(const std::string &ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
}

// Runs `batches` runs of expand over `perBatch` texts each, every run with a new -t argument.
void agreeWithExpand(std::uint32_t seed, std::string (*tabs)(std::mt19937 &), bool initial) {
    std::mt19937 rng(seed);
    constexpr int batches = 100, perBatch = 100;
    for (int batch = 0; batch < batches; ++batch) {
        const std::string argument = tabs(rng);
        std::string error;
        const std::optional<TabStops> stops = parseTabStops(argument, error);
        ASSERT_TRUE(stops.has_value()) << argument << ": " << error;
        ConversionMode mode;
        mode.stops = *stops;
        mode.leadingOnly = initial;
        mode.lineEnds = LineEnds::Kept;

        std::vector<std::string> texts;
        for (int i = 0; i < perBatch; ++i) texts.push_back(someText(rng));
        const std::vector<std::string> expected = expandEach(texts, argument, initial);
        ASSERT_EQ(expected.size(), texts.size()) << argument;
        for (int i = 0; i < perBatch; ++i) {
            const std::string &text = texts[static_cast<std::size_t>(i)];
            const std::string &want = expected[static_cast<std::size_t>(i)];
            ASSERT_EQ(convertInBlocks(rng, TextEncoding::Ansi, mode, text), want)
                << "-t " << argument << (initial ? " -i" : "") << " text " << ::testing::PrintToString(text);
            if (std::all_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                ASSERT_EQ(convertInBlocks(rng, TextEncoding::Utf8, mode, text), want) << argument;
                ASSERT_EQ(convertInBlocks(rng, TextEncoding::Utf16Le, mode, asUtf16(text)), asUtf16(want))
                    << argument;
            }
        }
    }
}

TEST(ExpandAgreement, StopsEveryNColumns) { agreeWithExpand(1, everyN, false); }
TEST(ExpandAgreement, StopsFromAList) { agreeWithExpand(2, stopList, false); }
TEST(ExpandAgreement, LeadingTabsOnly) {
    agreeWithExpand(
        3, [](std::mt19937 &rng) { return rng() % 2 == 0 ? everyN(rng) : stopList(rng); }, true);
}

} // namespace
