#include "setting_forms.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "path_text.h"
#include "spaces_number.h"

namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

std::optional<bool> yesNoFromText(std::string_view text) {
    const std::string word = trimSpaces(text);
    if (equalsIgnoringCase(word, "True")) return true;
    if (equalsIgnoringCase(word, "False")) return false;
    const NumberText number = readNumberText(text);
    if (number.kind == NumberText::Kind::NotANumber) return std::nullopt;
    return !number.zero;
}

std::string yesNoText(bool yes) { return yes ? "True" : "False"; }

std::optional<int32_t> positionFromText(std::string_view text) {
    const NumberText number = readNumberText(text);
    if (number.kind != NumberText::Kind::Number) return std::nullopt;
    if (number.rounded < std::numeric_limits<int32_t>::min() ||
        number.rounded > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(number.rounded);
}

std::optional<int32_t> extensionIndexFromText(std::string_view text, int32_t entryCount) {
    const std::string digits = trimSpaces(text);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int32_t index = std::stoi(digits);
    if (index >= entryCount) return std::nullopt;
    return index;
}

std::string cutToTwo(std::string_view text) { return std::string(text.substr(0, 2)); }

std::string trimRegistryBuffer(std::string_view buffer) {
    const std::string trimmed = trimSpaces(buffer);
    if (trimmed.empty()) return {};
    return trimmed.substr(0, trimmed.size() - 1);
}
