// The run of spaces the tab-stop rule puts in place of a tab. The column is the tab's position in
// the partly expanded line (0-based), so callers take it from the output they have written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app_error.h"

// The column's offset from the last stop before it. Columns are short in practice, and a 32-bit
// division is much cheaper than a 64-bit one on most processors.
inline std::size_t columnInStop(std::size_t column, std::size_t width) {
    if (column < width) return column;
    if (column <= UINT32_MAX) return static_cast<std::uint32_t>(column) % static_cast<std::uint32_t>(width);
    return column % width;
}

// 1 to width spaces: a tab standing on a stop gets a full width, never 0. A width of 0 fails with
// 11; a negative width with 5, since the run would be negative.
inline std::size_t tabRun(int16_t width, std::size_t column) {
    if (width == 0) raiseError(err::DivisionByZero);
    if (width < 0) raiseError(err::InvalidCall);
    const auto w = static_cast<std::size_t>(width);
    return w - columnInStop(column, w);
}

// For a column below 96 of tab stops `width` apart (at most 16): the column's offset from the last
// stop, and the run of spaces a tab there gets. Looked up, so no division waits on the text.
class ShortStops {
public:
    static constexpr unsigned columns = 96;
    static constexpr unsigned widest = 16;

    explicit ShortStops(unsigned width) : width_(width) {
        unsigned inStop = 0; // column % width, counted rather than divided: the table is made per block
        for (unsigned column = 0; column < columns; ++column) {
            inStop_[column] = static_cast<std::uint8_t>(inStop);
            run_[column] = static_cast<std::uint8_t>(width - inStop);
            inStop = inStop + 1 == width ? 0 : inStop + 1;
        }
    }
    unsigned inStop(unsigned column) const { return inStop_[column]; }
    unsigned run(unsigned column) const { return run_[column]; }
    unsigned width() const { return width_; }

private:
    unsigned width_;
    std::uint8_t inStop_[columns];
    std::uint8_t run_[columns];
};
