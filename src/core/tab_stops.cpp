#include "tab_stops.h"

#include <algorithm>
#include <utility>

#include "app_error.h"
#include "tab_run.h"

TabStops TabStops::every(std::size_t width) { return TabStops({}, After::EveryN, width, 0); }

TabStops TabStops::ofWindowWidth(int16_t width) {
    if (width > 0) return every(static_cast<std::size_t>(width));
    return TabStops({}, After::EveryN, 1, width == 0 ? err::DivisionByZero : err::InvalidCall);
}

TabStops TabStops::list(std::vector<std::size_t> stops, After after, std::size_t width) {
    return TabStops(std::move(stops), after, width, 0);
}

std::size_t TabStops::nextStop(std::size_t column) const {
    if (failure_ != 0) raiseError(failure_);
    if (stops_.empty()) return column + width_ - columnInStop(column, width_);
    const std::size_t last = stops_.back();
    if (column < last) return *std::upper_bound(stops_.begin(), stops_.end(), column);
    switch (after_) {
    case After::OneSpace: return column + 1;
    case After::EveryN: return column + width_ - columnInStop(column, width_);
    case After::EveryNAfterLast: return column + width_ - columnInStop(column - last, width_);
    }
    return column + 1;
}

namespace {

struct Item {
    char prefix; // '/', '+' or 0
    std::size_t value;
};

std::string quoted(std::string_view text) {
    std::string result(1, '\'');
    result.append(text);
    result += '\'';
    return result;
}

// One number with its prefix, or a reason why not.
std::optional<Item> parseItem(std::string_view text, std::string &error) {
    Item item{0, 0};
    std::size_t at = 0;
    if (text[0] == '/' || text[0] == '+') item.prefix = text[at++];
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '/' || c == '+') {
            error = std::string("'") + c + "' may only stand before a number: " + quoted(text);
            return std::nullopt;
        }
        if (c < '0' || c > '9') {
            error = "tab stop contains invalid character(s): " + quoted(text.substr(at));
            return std::nullopt;
        }
        item.value = item.value * 10 + static_cast<std::size_t>(c - '0');
        if (item.value > TabStops::largestStop) {
            error = "tab stop is too large: " + quoted(text);
            return std::nullopt;
        }
    }
    return item;
}

} // namespace

std::optional<TabStops> parseTabStops(std::string_view text, std::string &error) {
    std::vector<std::size_t> stops;
    std::optional<Item> after;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t itemEnd = std::min(text.find_first_of(", \t", at), text.size());
        const std::string_view itemText = text.substr(at, itemEnd - at);
        at = itemEnd + 1;
        if (itemText.empty()) continue;
        if (after) {
            error = std::string("'") + after->prefix + "' may only stand before the last tab stop";
            return std::nullopt;
        }
        const std::optional<Item> item = parseItem(itemText, error);
        if (!item) return std::nullopt;
        if (item->prefix != 0) {
            after = item;
            continue;
        }
        if (item->value == 0) {
            error = "tab size cannot be 0";
            return std::nullopt;
        }
        if (!stops.empty() && item->value <= stops.back()) {
            error = "tab stops must be ascending";
            return std::nullopt;
        }
        stops.push_back(item->value);
    }
    const std::size_t afterWidth = after ? after->value : 0;
    if (stops.empty()) return TabStops::every(afterWidth != 0 ? afterWidth : 8);
    if (stops.size() == 1 && afterWidth == 0) return TabStops::every(stops[0]);
    if (afterWidth == 0) return TabStops::list(std::move(stops), TabStops::After::OneSpace, 0);
    const auto rule = after->prefix == '/' ? TabStops::After::EveryN : TabStops::After::EveryNAfterLast;
    return TabStops::list(std::move(stops), rule, afterWidth);
}
