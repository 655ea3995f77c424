#include "spaces_number.h"

#include "app_error.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view takeDigits(std::string_view &text) {
    std::size_t n = 0;
    while (n < text.size() && isDigit(text[n])) ++n;
    const std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

// Rounding looks only at the first fraction digit and whether any later one is non-zero, so the
// result is exact for any number of digits (no binary floating point in between).
bool roundsUp(std::string_view fraction, std::int64_t whole) {
    if (fraction.empty() || fraction[0] < '5') return false;
    if (fraction[0] > '5') return true;
    for (char c : fraction.substr(1))
        if (c != '0') return true;
    return whole % 2 != 0;
}

} // namespace

NumberText readNumberText(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::string_view whole = takeDigits(text);
    std::string_view fraction;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        fraction = takeDigits(text);
    }
    NumberText result;
    if (!text.empty() || (whole.empty() && fraction.empty())) return result;

    // Far beyond anything a caller accepts, yet safe to multiply by 10 once more.
    constexpr std::int64_t limit = 100'000'000'000'000'000;
    std::int64_t value = 0;
    for (char c : whole) {
        if (value >= limit) {
            result.kind = NumberText::Kind::TooLarge;
            return result;
        }
        value = value * 10 + (c - '0');
    }
    result.zero = value == 0 && fraction.find_first_not_of('0') == std::string_view::npos;
    if (roundsUp(fraction, value)) ++value;
    result.kind = NumberText::Kind::Number;
    result.rounded = negative ? -value : value;
    return result;
}

int16_t spacesFromText(std::string_view text) { return wholeNumberFromText<int16_t>(text); }
