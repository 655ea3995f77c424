#include "engine/line_rules.h"

#include <algorithm>
#include <cstring>

#include "engine/byte_scan.h"
#include "engine/out_buffer.h"
#include "engine/tab_run.h"

std::string replaceFixed(std::string_view lineRead, int16_t tabLen) {
    const char *p = lineRead.data();
    const char *const end = p + lineRead.size();
    if (lineRead.empty() || std::memchr(p, '\t', lineRead.size()) == nullptr)
        return std::string(lineRead);

    std::string result;
    result.reserve(lineRead.size() + lineRead.size() / 2 + 16);
    {
        OutBuffer out(result);
        std::size_t lineStart = 0; // where column 1 is in the output
        for (;;) {
            const char *stop = scan::findFirstOf<'\t', '\n'>(p, end);
            out.append(p, static_cast<std::size_t>(stop - p));
            if (stop == end)
                break;
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
    if (numberOfSpaces >= 1 && numberOfSpaces <= 16)
        return static_cast<std::size_t>(numberOfSpaces);
    return 8;
}

namespace {

constexpr std::size_t stretchBytes = 4096;

#ifdef QM_SSE2
// 32 bytes, 64 readable, runs of at most 16 spaces: the chunk is stored whole, and after each tab's
// spaces the rest of it is stored again further on.
inline void chunkOfFixedSpaces(const char *&p, char *&o, std::size_t run) {
    const scan::Block32 block = scan::load32(p);
    scan::store32(o, block);
    std::uint32_t tabs = scan::positions<'\t'>(block);
    unsigned copied = 0;
    while (tabs != 0) {
        const auto tab = static_cast<unsigned>(std::countr_zero(tabs));
        tabs &= tabs - 1;
        o += tab - copied;
        std::memcpy(o, "                ", 16);
        o += run;
        copied = tab + 1;
        scan::store32(o, scan::load32(p + copied));
    }
    o += 32 - copied;
    p += 32;
}
#endif

// Up to the next tab or stop, then that tab's spaces.
inline void pieceOfFixedSpaces(const char *&p, const char *stop, char *&o, std::size_t run) {
    const char *tab = scan::findFirstOf<'\t'>(p, stop);
    std::memcpy(o, p, static_cast<std::size_t>(tab - p));
    o += tab - p;
    p = tab;
    if (p == stop)
        return;
    std::memset(o, ' ', run);
    o += run;
    ++p;
}

} // namespace

void appendFixedSpaces(const char *data, std::size_t size, std::size_t runLength, std::string &out) {
    // Room for the worst case of a stretch is made once, so the loops write without checks: every
    // input byte gives at most maxRun bytes, a chunk may overrun the stretch by 32 input bytes
    // and a store may overhang by 32.
    const std::size_t maxRun = std::max<std::size_t>(16, runLength);
    const std::size_t stretch = std::max<std::size_t>(16, stretchBytes / maxRun);
    OutBuffer buffer(out);
    char *o = buffer.cursor();
    const char *p = data;
    const char *const end = data + size;
    while (p < end) {
        buffer.ensure(o, (stretch + 32) * maxRun + 64);
        const char *stop = p + std::min<std::size_t>(stretch, static_cast<std::size_t>(end - p));
        while (p < stop) {
#ifdef QM_SSE2
            if (runLength <= 16 && end - p >= 64) {
                chunkOfFixedSpaces(p, o, runLength);
                continue;
            }
#endif
            pieceOfFixedSpaces(p, stop, o, runLength);
        }
    }
    buffer.commit(o);
}

void howManySpaces(std::string &text, int16_t numberOfSpaces) {
    if (std::memchr(text.data(), '\t', text.size()) == nullptr)
        return;
    const std::size_t run = spacesPerTab(numberOfSpaces);
    std::string converted;
    converted.reserve(text.size() + text.size() / 4 * (run - 1) + 16);
    appendFixedSpaces(text.data(), text.size(), run, converted);
    text.swap(converted);
}
