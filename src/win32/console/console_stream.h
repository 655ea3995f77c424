// Standard output and standard error as the console program writes them: text in UTF-8 is shown
// through WriteConsoleW on a console, so that any name prints in any script, and goes out as UTF-8
// bytes into a file or a pipe; converted text always goes out as its own bytes.
//
// A console takes its writes in pieces of at most 16 KiB (Windows 7's console shares one small heap
// for them and fails a larger write with "not enough memory"); files and pipes take large blocks.
// A message never stops the run: a stream that fails once is left alone from then on.
#pragma once

#include "output_stream.h"
#include "win.h"

#include <cstddef>
#include <string_view>

class ConsoleStream : public OutputStream {
public:
    static constexpr std::size_t consolePieceBytes = 16 * 1024;
    static constexpr std::size_t filePieceBytes = 1024 * 1024;

    explicit ConsoleStream(HANDLE handle);
    virtual ~ConsoleStream() = default;
    ConsoleStream(const ConsoleStream &) = delete;
    ConsoleStream &operator=(const ConsoleStream &) = delete;

    bool isTerminal() const override { return console_; }
    // The console's width: that of its screen buffer, which a line longer than it wraps in.
    std::size_t columns() const override;
    bool writeText(std::string_view utf8) noexcept override;
    void writeBytes(std::string_view bytes) override;

    bool failed() const override { return failed_; }
    bool readerGone() const override { return readerGone_; }
    std::int32_t failure() const override;
    // The Windows error of the write that failed.
    DWORD lastError() const { return lastError_; }

protected:
    // A stream over a handle that the caller says is or is not a console (tests).
    ConsoleStream(HANDLE handle, bool console);
    // One piece through WriteFile, and one through WriteConsoleW: false with the error code set.
    virtual bool writeBytePiece(const char *data, DWORD size, DWORD &written, DWORD &error);
    virtual bool writeConsolePiece(const wchar_t *data, DWORD size, DWORD &written, DWORD &error);

private:
    // False when the bytes could not all be written; the error is kept in lastError_.
    bool writeAllBytes(std::string_view bytes);
    bool writeAllWide(std::wstring_view wide);
    void noteFailure(DWORD error);

    HANDLE handle_;
    bool console_;
    bool failed_ = false;
    bool readerGone_ = false;
    DWORD lastError_ = 0;
};
