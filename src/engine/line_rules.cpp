#include "engine/line_rules.h"

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

void appendFixedSpaces(const char *data, std::size_t size, std::size_t runLength, std::string &out) {
    OutBuffer buffer(out);
    char *o = buffer.cursor();
    const char *p = data;
    const char *const end = data + size;
    while (p != end) {
        const char *tab = end;
#ifdef __SSE2__
        if (end - p >= 16) {
            // Copy 16 bytes whatever they hold, then keep only those before the first tab.
            buffer.ensure(o, 16);
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(o), block);
            const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('\t')));
            const int skip = mask == 0 ? 16 : std::countr_zero(static_cast<unsigned>(mask));
            p += skip;
            o += skip;
            if (mask == 0)
                continue;
            tab = p;
        } else
#endif
        {
            tab = scan::findFirstOf<'\t'>(p, end);
            const auto length = static_cast<std::size_t>(tab - p);
            buffer.ensure(o, length);
            std::memcpy(o, p, length);
            o += length;
            if (tab == end)
                break;
        }
        buffer.writeSpaces(o, runLength);
        p = tab + 1;
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
