// The run of spaces the tab-stop rule puts in place of a tab. The column is the tab's position in
// the partly expanded line (0-based), so callers take it from the output they have written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "errors/app_error.h"

// 1 to width spaces: a tab standing on a stop gets a full width, never 0. A width of 0 fails with
// 11; a negative width with 5, since the run would be negative.
inline std::size_t tabRun(int16_t width, std::size_t column) {
    if (width == 0)
        raiseError(err::DivisionByZero);
    if (width < 0)
        raiseError(err::InvalidCall);
    const auto w = static_cast<std::size_t>(width);
    return w - (column < w ? column : column % w);
}
