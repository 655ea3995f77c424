// An output stream that keeps what it is given, for tests of what the program writes: a terminal of a
// chosen width, or a file or pipe (not a terminal), which can be made to fail from a given write on
// as a pipe whose reader has gone or a full disk does.
#pragma once

#include "app_error.h"
#include "output_stream.h"

#include <cstdint>
#include <string>

class RecordedOutput : public OutputStream {
public:
    bool terminal = false;
    std::size_t width = 0;
    std::string written;
    // Writes from this one on (the first is 0) fail: with readerLeft, as a pipe whose reader has gone.
    std::size_t failFrom = SIZE_MAX;
    bool readerLeft = false;

    bool isTerminal() const override { return terminal; }
    std::size_t columns() const override { return width; }
    bool writeText(std::string_view text) noexcept override { return take(text); }
    void writeBytes(std::string_view bytes) override {
        if (!take(bytes)) raiseError(failure());
    }
    bool failed() const override { return failed_; }
    bool readerGone() const override { return failed_ && readerLeft; }
    std::int32_t failure() const override {
        return failed_ ? (readerLeft ? err::PathFileAccess : err::DiskFull) : 0;
    }

private:
    bool take(std::string_view bytes) {
        if (failed_ || writes_++ >= failFrom) {
            failed_ = true;
            return false;
        }
        written += bytes;
        return true;
    }
    std::size_t writes_ = 0;
    bool failed_ = false;
};
