// Where tab stops stand, in the terms of GNU expand's -t option: every N columns, or an ascending
// list of columns followed by a rule for the columns after its last stop. Columns count from 0 at a
// line's start; a tab moves the text after it to the first stop past its own column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TabStops {
public:
    // What follows the last stop of a list.
    enum class After : std::uint8_t {
        OneSpace,        // a tab past the last stop becomes one space (a plain list)
        EveryN,          // "/N": stops every N columns, counted from column 0
        EveryNAfterLast, // "+N": stops every N columns, counted from the last stop
    };

    // The largest stop a list may name and the widest spacing: a tab's spaces are written whole, so
    // a stop is bounded by the memory its run of spaces takes.
    static constexpr std::size_t largestStop = std::size_t{1} << 24;

    // Stops every `width` columns (1 to largestStop).
    static TabStops every(std::size_t width);

    // The window's stops: `width` columns apart. A width of 0 or less is accepted here and makes the
    // first tab fail (11 for 0, 5 for a negative width), as the window's rule does.
    static TabStops ofWindowWidth(int16_t width);

    // Explicit stops (ascending, each 1 to largestStop) followed by `after` with spacing `width`.
    static TabStops list(std::vector<std::size_t> stops, After after, std::size_t width);

    // The first stop after `column`. Constant time for stops every N columns; a search of the list
    // otherwise, so a line's tabs take linear time whatever their number.
    std::size_t nextStop(std::size_t column) const;

    // N when the stops stand every N columns from column 0 (the shape the fast loops handle), else 0.
    std::size_t uniformWidth() const { return stops_.empty() ? width_ : 0; }

    bool operator==(const TabStops &) const = default;

private:
    TabStops(std::vector<std::size_t> stops, After after, std::size_t width, std::int32_t failure)
        : stops_(std::move(stops)), after_(after), width_(width), failure_(failure) {}

    std::vector<std::size_t> stops_; // empty: every width_ columns
    After after_;
    std::size_t width_;
    std::int32_t failure_; // the error the first tab raises, or 0
};

// Parses the argument of expand's -t: numbers separated by commas or blanks. One number N is stops
// every N columns; several are explicit stops; the last may carry "/N" (every N columns after the
// last stop) or "+N" (every N columns counted from the last stop). A lone "/N" or "+N" is every N;
// "/0", "+0" or nothing at all leaves the default of 8, and a list with "/0" or "+0" is a plain list.
// On a bad argument it returns nothing and sets `error` to a one-line reason.
std::optional<TabStops> parseTabStops(std::string_view text, std::string &error);
