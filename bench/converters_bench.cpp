// Throughput of the converters over generated text, fed in 64 KiB blocks as the file jobs feed
// them, beside a plain copy of the same blocks measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "converter.h"
#include "corpus.h"
#include "text_stream.h"

namespace {

constexpr std::size_t blockSize = 64 * 1024;

const std::string &sourceCorpus() {
    static const std::string text = corpus::sourceLike(200u << 20);
    return text;
}

const std::string &oneLineCorpus() {
    static const std::string text = corpus::denseTabLine(50u << 20);
    return text;
}

template <typename Converter, typename... Arguments>
void convertInBlocks(benchmark::State &state, const std::string &text, Arguments... arguments) {
    std::string out;
    for (auto _ : state) {
        Converter converter(arguments...);
        for (std::size_t at = 0; at < text.size(); at += blockSize) {
            const std::size_t size = std::min(blockSize, text.size() - at);
            const std::string_view converted = converter.convert(text.data() + at, size);
            benchmark::DoNotOptimize(converted.data());
        }
        converter.finish(out);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void copyInBlocks(benchmark::State &state, const std::string &text) {
    std::string out(blockSize, '\0');
    for (auto _ : state) {
        for (std::size_t at = 0; at < text.size(); at += blockSize) {
            std::memcpy(out.data(), text.data() + at, std::min(blockSize, text.size() - at));
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Memcpy_SourceCorpus(benchmark::State &state) { copyInBlocks(state, sourceCorpus()); }
void TabStops8_SourceCorpus(benchmark::State &state) {
    convertInBlocks<TabStopConverter>(state, sourceCorpus(), 8);
}
void FixedSpaces8_SourceCorpus(benchmark::State &state) {
    convertInBlocks<FixedSpacesConverter>(state, sourceCorpus(), 8);
}
// The console's mode: stops every 8 columns, line ends kept as they are.
class KeptLineEnds {
public:
    explicit KeptLineEnds(TextEncoding encoding) : core_(makeConverter(encoding, keptEvery8())) {}
    std::string_view convert(const char *data, std::size_t size) { return core_->convert(data, size); }
    void finish(std::string &out) { core_->finish(out); }

private:
    static ConversionMode keptEvery8() {
        ConversionMode mode;
        mode.lineEnds = LineEnds::Kept;
        return mode;
    }
    std::unique_ptr<StreamConverter> core_;
};

void TabStops8Kept_SourceCorpus(benchmark::State &state) {
    convertInBlocks<KeptLineEnds>(state, sourceCorpus(), TextEncoding::Ansi);
}
void Memcpy_OneLine(benchmark::State &state) { copyInBlocks(state, oneLineCorpus()); }
void TabStops8_OneLine(benchmark::State &state) {
    convertInBlocks<TabStopConverter>(state, oneLineCorpus(), 8);
}
void FixedSpaces8_OneLine(benchmark::State &state) {
    convertInBlocks<FixedSpacesConverter>(state, oneLineCorpus(), 8);
}

} // namespace

BENCHMARK(Memcpy_SourceCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK(TabStops8_SourceCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK(FixedSpaces8_SourceCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK(TabStops8Kept_SourceCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK(Memcpy_OneLine)->Unit(benchmark::kMillisecond);
BENCHMARK(TabStops8_OneLine)->Unit(benchmark::kMillisecond);
BENCHMARK(FixedSpaces8_OneLine)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
