// The running column of the tab-stop rule. Only the column modulo the width matters, so it is kept
// below the width and a tab's run of spaces comes without rescanning the line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "errors/app_error.h"

class TabStopColumn {
public:
    explicit TabStopColumn(int16_t width) : width_(width) {}

    void advance(std::size_t characters) {
        if (width_ <= 0)
            return; // no stop to reach; the first tab will fail anyway
        column_ += characters;
        if (column_ >= static_cast<std::size_t>(width_))
            column_ %= static_cast<std::size_t>(width_);
    }

    // Spaces that take the text from the current column to the next stop: 1 to width, never 0.
    std::size_t nextTab() {
        if (width_ == 0)
            err::raise(err::DivisionByZero);
        if (width_ < 0)
            err::raise(err::InvalidCall); // the run length would be negative
        const std::size_t run = static_cast<std::size_t>(width_) - column_;
        column_ = 0;
        return run;
    }

    // A lone line feed inside a line starts the count again, so text after it lines up as a new line.
    void restart() { column_ = 0; }

private:
    int16_t width_;
    std::size_t column_ = 0;
};
