// The tab-stop rule written the slow, literal way: find the first tab, work out its run from its
// position, replace it, search again from the start. Positions count from 1 at the start of the
// line and again after each lone line feed. The fast code is checked against this.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app_error.h"

inline std::string rescanReplaceFixed(std::string_view lineRead, int16_t tabLen) {
    std::string w(lineRead);
    for (;;) {
        const std::size_t tab = w.find('\t');
        if (tab == std::string::npos) return w;
        const std::size_t lineFeed = w.rfind('\n', tab);
        const auto p = static_cast<int32_t>(lineFeed == std::string::npos ? tab + 1 : tab - lineFeed);
        if (tabLen == 0) raiseError(err::DivisionByZero);
        const int32_t r = (p - 1) % tabLen;
        const int32_t k = tabLen - r;
        if (k < 0) raiseError(err::InvalidCall);
        w.replace(tab, 1, std::string(static_cast<std::size_t>(k), ' '));
    }
}

// Line-by-line reading done by hand: cut at 0x1A, split at CR / CR LF, write each line + CR LF.
inline std::string rescanTabStopFile(std::string_view text, int16_t tabLen) {
    text = text.substr(0, text.find('\x1A'));
    std::string out;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            line += text[i];
            open = true;
            continue;
        }
        out += rescanReplaceFixed(line, tabLen) + "\r\n";
        line.clear();
        open = false;
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    if (open) out += rescanReplaceFixed(line, tabLen) + "\r\n";
    return out;
}

// Line ends kept, done by hand: every byte but a tab is copied, a tab becomes the spaces up to the
// next multiple of `width`, and a CR or an LF starts the column count again.
inline std::string rescanKeptTabStops(std::string_view text, std::size_t width) {
    std::string out;
    std::size_t column = 0;
    for (const char c : text) {
        if (c == '\t') {
            const std::size_t run = width - column % width;
            out.append(run, ' ');
            column += run;
            continue;
        }
        out += c;
        column = c == '\r' || c == '\n' ? 0 : column + 1;
    }
    return out;
}
