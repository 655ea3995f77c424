#include "whole_text.h"

#include "app_error.h"
#include "line_rules.h"

std::vector<std::string_view> splitLines(std::string_view text) {
    text = text.substr(0, text.find('\x1A'));
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::string expandTabStopsWhole(std::string_view text, int16_t width) {
    std::string result;
    for (std::string_view line : splitLines(text)) {
        result += replaceFixed(line, width);
        result += "\r\n";
    }
    return result;
}

std::string fixedSpacesWhole(std::string_view text, int16_t numberOfSpaces) {
    std::string result(text);
    howManySpaces(result, numberOfSpaces);
    result += "\r\n";
    return result;
}

void wholeReadCheck(std::string_view text) {
    const std::size_t mark = text.find('\x1A');
    if (mark != std::string_view::npos && mark + 1 < text.size()) raiseError(err::InputPastEnd);
}
