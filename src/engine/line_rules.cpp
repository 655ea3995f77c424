#include "engine/line_rules.h"

#include <cstring>

#include "engine/byte_scan.h"
#include "engine/out_buffer.h"
#include "engine/tab_stop_column.h"

std::string replaceFixed(std::string_view lineRead, int16_t tabLen) {
    const char *p = lineRead.data();
    const char *const end = p + lineRead.size();
    if (lineRead.empty() || std::memchr(p, '\t', lineRead.size()) == nullptr)
        return std::string(lineRead);

    std::string result;
    result.reserve(lineRead.size() + lineRead.size() / 2 + 16);
    {
        OutBuffer out(result);
        TabStopColumn column(tabLen);
        for (;;) {
            const char *stop = scan::findFirstOf<'\t', '\n'>(p, end);
            out.append(p, static_cast<std::size_t>(stop - p));
            column.advance(static_cast<std::size_t>(stop - p));
            if (stop == end)
                break;
            if (*stop == '\t') {
                out.spaces(column.nextTab());
            } else {
                out.append('\n');
                column.restart();
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
    const char *p = data;
    const char *const end = data + size;
    for (;;) {
        const char *tab = scan::findFirstOf<'\t'>(p, end);
        buffer.append(p, static_cast<std::size_t>(tab - p));
        if (tab == end)
            return;
        buffer.spaces(runLength);
        p = tab + 1;
    }
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
