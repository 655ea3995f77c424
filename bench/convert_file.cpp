// convert_file tabs|spaces|kept N INPUT OUTPUT | measure tabs|spaces|kept|utf8 N INPUT
//              | corpus source|oneline|mixed BYTES OUTPUT
// kept: tab stops every N columns with line ends kept as they are (the console program's mode).
// Streams a file through a converter in 64 KiB blocks (the way the file jobs do); or times the
// converter over the file held in memory beside a plain copy of the same blocks (for utf8, the
// UTF-8 tab stops beside the ANSI ones); or writes a generated benchmark input (mixed: the source
// corpus with non-ASCII words). Used by compare_expand.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app_error.h"
#include "byte_scan.h"
#include "converter.h"
#include "corpus.h"
#include "text_stream.h"
#include "unicode_stream.h"

namespace {

class KeptTabStopConverter {
public:
    explicit KeptTabStopConverter(int16_t width)
        : core_(makeConverter(TextEncoding::Ansi, keptEvery(width))) {}
    std::string_view convert(const char *data, std::size_t size) { return core_->convert(data, size); }
    void finish(std::string &out) { core_->finish(out); }

private:
    static ConversionMode keptEvery(int16_t width) {
        ConversionMode mode;
        mode.stops = TabStops::every(width > 0 ? static_cast<std::size_t>(width) : 8);
        mode.lineEnds = LineEnds::Kept;
        return mode;
    }
    std::unique_ptr<StreamConverter> core_;
};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE *)>;

File openFile(const char *path, const char *mode) {
    File file(std::fopen(path, mode), &std::fclose);
    if (!file) {
        std::perror(path);
        std::exit(2);
    }
    // Blocks are large already; stdio's own buffer would only add a copy.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

template <typename Converter> int convert(Converter converter, const char *input, const char *output) {
    File in = openFile(input, "rb");
    File out = openFile(output, "wb");
    std::string block(64 * 1024, '\0');
    std::string lastLineEnd;
    for (;;) {
        const std::size_t n = std::fread(block.data(), 1, block.size(), in.get());
        std::string_view converted;
        if (n == 0) {
            converter.finish(lastLineEnd);
            converted = lastLineEnd;
        } else {
            converted = converter.convert(block.data(), n);
        }
        if (std::fwrite(converted.data(), 1, converted.size(), out.get()) != converted.size()) return 3;
        if (n == 0) return std::ferror(in.get()) ? 3 : 0;
    }
}

std::string readWhole(const char *path) {
    File in = openFile(path, "rb");
    std::string text;
    std::string block(1 << 20, '\0');
    while (const std::size_t n = std::fread(block.data(), 1, block.size(), in.get()))
        text.append(block.data(), n);
    return text;
}

// The time of one pass over text in 64 KiB blocks, in seconds.
template <typename Pass> double timePass(const std::string &text, Pass pass) {
    constexpr std::size_t blockSize = 64 * 1024;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at < text.size(); at += blockSize)
        pass(text.data() + at, std::min(blockSize, text.size() - at));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// Prints "COPY_SECONDS CONVERT_SECONDS" for the file's bytes in memory: the best of passes taken in
// turn, a copy then a conversion, so both see the machine alike.
template <typename Converter> int measure(int16_t n, const char *input) {
    const std::string text = readWhole(input);
    std::string copy(64 * 1024, '\0');
    volatile char sink = 0;
    Converter converter(n);
    double copySeconds = 1e30;
    double convertSeconds = 1e30;
    for (int run = 0; run < 9; ++run) {
        copySeconds = std::min(copySeconds, timePass(text, [&](const char *data, std::size_t size) {
                                   std::memcpy(copy.data(), data, size);
                                   sink = sink + copy[size - 1];
                               }));
        convertSeconds = std::min(convertSeconds, timePass(text, [&](const char *data, std::size_t size) {
                                      const std::string_view converted = converter.convert(data, size);
                                      if (!converted.empty()) sink = sink + converted.back();
                                  }));
    }
    std::printf("%.6f %.6f\n", copySeconds, convertSeconds);
    return 0;
}

// QM_SCAN_PATH=sse2|avx2 picks the rules' chunk loops; without it they are the processor's best.
bool pickScanPath() {
#ifdef QM_SSE2
    const char *name = std::getenv("QM_SCAN_PATH");
    if (name == nullptr || *name == '\0') return true;
    for (const scan::Path path : {scan::Path::Sse2, scan::Path::Avx2})
        if (std::strcmp(name, scan::pathName(path)) == 0) {
            if (scan::usePath(path)) return true;
            std::fprintf(stderr, "this processor has no %s\n", name);
            return false;
        }
    std::fprintf(stderr, "QM_SCAN_PATH: sse2 or avx2\n");
    return false;
#else
    return true;
#endif
}

// Prints "ANSI_SECONDS UTF8_SECONDS": both tab-stop converters over the file's bytes in memory, the
// best of passes taken in turn.
int measureUtf8(int16_t n, const char *input) {
    const std::string text = readWhole(input);
    volatile char sink = 0;
    TabStopConverter ansi(n);
    Utf8TabStopConverter utf8(n, false);
    double ansiSeconds = 1e30;
    double utf8Seconds = 1e30;
    for (int run = 0; run < 9; ++run) {
        ansiSeconds = std::min(ansiSeconds, timePass(text, [&](const char *data, std::size_t size) {
                                   const std::string_view converted = ansi.convert(data, size);
                                   if (!converted.empty()) sink = sink + converted.back();
                               }));
        utf8Seconds = std::min(utf8Seconds, timePass(text, [&](const char *data, std::size_t size) {
                                   const std::string_view converted = utf8.convert(data, size);
                                   if (!converted.empty()) sink = sink + converted.back();
                               }));
    }
    std::printf("%.6f %.6f\n", ansiSeconds, utf8Seconds);
    return 0;
}

int writeCorpus(const char *kind, const char *bytes, const char *output) {
    const std::size_t size = std::strtoull(bytes, nullptr, 10);
    const std::string text = std::strcmp(kind, "oneline") == 0 ? corpus::denseTabLine(size)
                             : std::strcmp(kind, "mixed") == 0
                                 ? corpus::withNonAsciiWords(corpus::sourceLike(size))
                                 : corpus::sourceLike(size);
    File out = openFile(output, "wb");
    return std::fwrite(text.data(), 1, text.size(), out.get()) == text.size() ? 0 : 3;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: %s tabs|spaces|kept N INPUT OUTPUT | measure tabs|spaces|kept|utf8 N INPUT"
                     " | corpus source|oneline|mixed BYTES OUTPUT\n",
                     argv[0]);
        return 1;
    }
    if (!pickScanPath()) return 1;
    try {
        if (std::strcmp(argv[1], "corpus") == 0) return writeCorpus(argv[2], argv[3], argv[4]);
        if (std::strcmp(argv[1], "measure") == 0) {
            const auto n = static_cast<int16_t>(std::atoi(argv[3]));
            if (std::strcmp(argv[2], "tabs") == 0) return measure<TabStopConverter>(n, argv[4]);
            if (std::strcmp(argv[2], "kept") == 0) return measure<KeptTabStopConverter>(n, argv[4]);
            if (std::strcmp(argv[2], "utf8") == 0) return measureUtf8(n, argv[4]);
            return measure<FixedSpacesConverter>(n, argv[4]);
        }
        const auto n = static_cast<int16_t>(std::atoi(argv[2]));
        if (std::strcmp(argv[1], "tabs") == 0) return convert(TabStopConverter(n), argv[3], argv[4]);
        if (std::strcmp(argv[1], "kept") == 0) return convert(KeptTabStopConverter(n), argv[3], argv[4]);
        return convert(FixedSpacesConverter(n), argv[3], argv[4]);
    } catch (const AppError &e) {
        std::fprintf(stderr, "error %d: %s\n", e.number, e.description.c_str());
        return 4;
    }
}
