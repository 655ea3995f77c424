// Standard output or standard error of the console program as its platform writes them: program text
// (names, messages, the progress line) and converted bytes, and how a failed write ended.
// Implemented over a Windows handle (src/win32/console) and a POSIX descriptor (src/posix/console).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class OutputStream {
public:
    virtual ~OutputStream() = default;

    // A terminal that a person reads (a Windows console, a POSIX tty): the progress line is drawn there
    // and nowhere else.
    virtual bool isTerminal() const = 0;
    // The terminal's width in columns, 0 where it is not known (or the stream is no terminal).
    virtual std::size_t columns() const = 0;

    // Program text, in UTF-8 (where a name is not UTF-8, its bytes as they are). False when it could not
    // be written; never throws: a message never stops the run.
    virtual bool writeText(std::string_view text) noexcept = 0;
    // Bytes exactly as given. Raises the program's error when they cannot all be written.
    virtual void writeBytes(std::string_view bytes) = 0;

    // A write has failed: later ones are not tried.
    virtual bool failed() const = 0;
    // The stream was a pipe whose reader has gone (a "| more" or "| head" that quit early): console
    // tools end quietly then.
    virtual bool readerGone() const = 0;
    // The program's error number for the write that failed (61 disk full, 75 access ...), 0 before.
    virtual std::int32_t failure() const = 0;
};
