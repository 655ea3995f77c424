// Tab stops over UTF-8 text beside the ANSI converter on the same bytes, measured in the same run:
// the source-like corpus with non-ASCII words in about a third of its lines (accented Latin,
// Cyrillic, Japanese), and the plain ASCII corpus. UTF-16 for scale. Fed in 64 KiB blocks.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "corpus.h"
#include "text_stream.h"
#include "unicode_stream.h"

namespace {

constexpr std::size_t blockSize = 64 * 1024;
constexpr std::size_t corpusBytes = 64u << 20;

// The source-like corpus with a non-ASCII word added to every third line.
const std::string &mixedCorpus() {
    static const std::string text = corpus::withNonAsciiWords(corpus::sourceLike(corpusBytes));
    return text;
}

const std::string &asciiCorpus() {
    static const std::string text = corpus::sourceLike(corpusBytes);
    return text;
}

const std::string &utf16Corpus() {
    static const std::string text = [] {
        const std::string &ascii = asciiCorpus();
        std::string wide("\xFF\xFE", 2);
        for (char c : ascii) {
            wide += c;
            wide += '\0';
        }
        return wide;
    }();
    return text;
}

template <typename Make> void convertInBlocks(benchmark::State &state, const std::string &text, Make make) {
    std::string out;
    for (auto _ : state) {
        auto converter = make();
        for (std::size_t at = 0; at < text.size(); at += blockSize) {
            const std::size_t size = std::min(blockSize, text.size() - at);
            const std::string_view converted = converter.convert(text.data() + at, size);
            benchmark::DoNotOptimize(converted.data());
        }
        out.clear();
        converter.finish(out);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Ansi_TabStops8_Mixed(benchmark::State &state) {
    convertInBlocks(state, mixedCorpus(), [] { return TabStopConverter(8); });
}
void Utf8_TabStops8_Mixed(benchmark::State &state) {
    convertInBlocks(state, mixedCorpus(), [] { return Utf8TabStopConverter(8, false); });
}
void Ansi_TabStops8_Ascii(benchmark::State &state) {
    convertInBlocks(state, asciiCorpus(), [] { return TabStopConverter(8); });
}
void Utf8_TabStops8_Ascii(benchmark::State &state) {
    convertInBlocks(state, asciiCorpus(), [] { return Utf8TabStopConverter(8, false); });
}
void Utf16_TabStops8_Ascii(benchmark::State &state) {
    convertInBlocks(state, utf16Corpus(),
                    [] { return Utf16Converter(Utf16Converter::Rule::TabStops, 8, false); });
}
void Detect_Mixed(benchmark::State &state) {
    const std::string &text = mixedCorpus();
    for (auto _ : state) {
        EncodingDetector detector(text.size());
        for (std::size_t at = 0; at < text.size(); at += blockSize)
            detector.feed(text.data() + at, std::min(blockSize, text.size() - at));
        benchmark::DoNotOptimize(detector.finish());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

} // namespace

BENCHMARK(Ansi_TabStops8_Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK(Utf8_TabStops8_Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK(Ansi_TabStops8_Ascii)->Unit(benchmark::kMillisecond);
BENCHMARK(Utf8_TabStops8_Ascii)->Unit(benchmark::kMillisecond);
BENCHMARK(Utf16_TabStops8_Ascii)->Unit(benchmark::kMillisecond);
BENCHMARK(Detect_Mixed)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
