#include "line_rules.h"

#include <algorithm>
#include <cstring>

#include "byte_scan.h"
#include "out_buffer.h"
#include "tab_run.h"

std::string replaceFixed(std::string_view lineRead, int16_t tabLen) {
    const char *p = lineRead.data();
    const char *const end = p + lineRead.size();
    if (lineRead.empty() || std::memchr(p, '\t', lineRead.size()) == nullptr) return std::string(lineRead);

    std::string result;
    result.reserve(lineRead.size() + lineRead.size() / 2 + 16);
    {
        OutBuffer out(result);
        std::size_t lineStart = 0; // where column 1 is in the output
        for (;;) {
            const char *stop = scan::findFirstOf<'\t', '\n'>(p, end);
            out.append(p, static_cast<std::size_t>(stop - p));
            if (stop == end) break;
            if (*stop == '\t') {
                out.spaces(tabRun(tabLen, out.offsetOf(out.cursor()) - lineStart));
            } else {
                out.append('\n');
                lineStart = out.offsetOf(out.cursor());
            }
            p = stop + 1;
        }
    }
    return result;
}

std::size_t spacesPerTab(int16_t numberOfSpaces) {
    if (numberOfSpaces >= 1 && numberOfSpaces <= 16) return static_cast<std::size_t>(numberOfSpaces);
    return 8;
}

namespace {

#ifdef QM_SSE2
// Places the tabs of a chunk (a bit mask) after the chunk itself was stored.
template <bool ShortGaps>
inline void placeFixedTabs(char *&o, const char *p, scan::ChunkMask tabs, unsigned &copied, std::size_t run) {
    while (tabs != 0) {
        const auto tab = static_cast<unsigned>(std::countr_zero(tabs));
        tabs &= tabs - 1;
        o += tab - copied;
        scan::storeSpaces16(o);
        o += run;
        copied = tab + 1;
        scan::copyAhead<ShortGaps>(o, p + copied, static_cast<unsigned>(std::countr_zero(tabs)) - copied);
    }
}

// Chunks while twice a chunk's bytes are readable and the output is not past outLimit, for runs of
// at most 16 spaces: each chunk is stored whole, and after each tab's spaces the text up to the next
// tab again further on. Most chunks of source text have no tab and are only stored.
template <class Isa>
inline void chunksOfFixedSpaces(const char *&p, const char *end, char *&o, const char *outLimit,
                                std::size_t run) {
    constexpr unsigned bytes = scan::chunkBytes;
    const char *in = p; // locals, so the loop keeps them in registers
    char *out = o;
    do {
        const typename Isa::Chunk chunk = Isa::load(in);
        Isa::store(out, chunk);
        const scan::ChunkMask tabs = Isa::template positions<'\t'>(chunk);
        if (tabs != 0) {
            unsigned copied = 0;
            if (scan::gapsAtMost16(tabs))
                placeFixedTabs<true>(out, in, tabs, copied, run);
            else
                placeFixedTabs<false>(out, in, tabs, copied, run);
            out -= copied;
        }
        out += bytes;
        in += bytes;
    } while (static_cast<std::size_t>(end - in) >= 2 * bytes && out <= outLimit);
    p = in;
    o = out;
}

QM_LOOP_ALIGN void fixedSpacesSse2(const char *&p, const char *end, char *&o, const char *outLimit,
                                   std::size_t run) {
    chunksOfFixedSpaces<scan::Sse2>(p, end, o, outLimit, run);
}

QM_LOOP_ALIGN QM_AVX2_LOOP void fixedSpacesAvx2(const char *&p, const char *end, char *&o,
                                                const char *outLimit, std::size_t run) {
    chunksOfFixedSpaces<scan::Avx2>(p, end, o, outLimit, run);
}
#endif

// Up to 16 bytes: the plain ones, then a tab's spaces if one comes first.
inline void pieceOfFixedSpaces(const char *&p, const char *end, char *&o, std::size_t run) {
    const char *stop = p + std::min<std::size_t>(16, static_cast<std::size_t>(end - p));
    const char *tab = scan::findFirstOf<'\t'>(p, stop);
    std::memcpy(o, p, static_cast<std::size_t>(tab - p));
    o += tab - p;
    p = tab;
    if (p == stop) return;
    std::memset(o, ' ', run);
    o += run;
    ++p;
}

} // namespace

void writeFixedSpaces(const char *data, std::size_t size, std::size_t runLength, OutBuffer &buffer) {
    // Room for the worst step (a chunk of at most 64 tabs) is made before each, so the loops write
    // without checks; stores may reach up to 128 bytes past the written text.
    const std::size_t room = 64 * std::max<std::size_t>(16, runLength) + 128;
    char *o = buffer.cursor();
    const char *p = data;
    const char *const end = data + size;
#ifdef QM_SSE2
    const bool avx2 = scan::activePath() == scan::Path::Avx2;
#endif
    while (p < end) {
        buffer.ensure(o, room);
#ifdef QM_SSE2
        if (runLength <= 16 && static_cast<std::size_t>(end - p) >= 2 * scan::chunkBytes) {
            if (avx2)
                fixedSpacesAvx2(p, end, o, buffer.lastStartFor(room), runLength);
            else
                fixedSpacesSse2(p, end, o, buffer.lastStartFor(room), runLength);
            continue;
        }
#endif
        pieceOfFixedSpaces(p, end, o, runLength);
    }
    buffer.commit(o);
}

void howManySpaces(std::string &text, int16_t numberOfSpaces) {
    if (std::memchr(text.data(), '\t', text.size()) == nullptr) return;
    const std::size_t run = spacesPerTab(numberOfSpaces);
    std::string converted;
    converted.reserve(text.size() + text.size() / 4 * (run - 1) + 16);
    {
        OutBuffer buffer(converted);
        writeFixedSpaces(text.data(), text.size(), run, buffer);
    }
    text.swap(converted);
}
