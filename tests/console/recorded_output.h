// An output stream that keeps what it is given, for tests of what the program writes: a terminal of a
// chosen width, or a file or pipe (not a terminal).
#pragma once

#include "output_stream.h"

#include <string>

class RecordedOutput : public OutputStream {
public:
    bool terminal = false;
    std::size_t width = 0;
    std::string written;

    bool isTerminal() const override { return terminal; }
    std::size_t columns() const override { return width; }
    bool writeText(std::string_view text) noexcept override {
        written += text;
        return true;
    }
    void writeBytes(std::string_view bytes) override { written += bytes; }
    bool failed() const override { return false; }
    bool readerGone() const override { return false; }
    std::int32_t failure() const override { return 0; }
};
