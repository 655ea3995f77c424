// Standard input read to its end and kept to be read again: its encoding is told from the whole text
// before any of it is converted. The first bytes are held in memory; what goes past the limit goes on
// into a temporary file, so that input of any size takes the same memory. The system deletes that file
// when it is closed, also when the program is ended in any other way.
#pragma once

#include "handles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Typed input that Ctrl+C cut short: no whole text, so nothing may be made of it.
struct InputInterrupted {};

class SpooledInput {
public:
    static constexpr std::size_t usualMemoryLimit = 8 * 1024 * 1024;
    // A console takes reads of at most 16 KiB (Windows 7's console shares one small heap for them);
    // pipes and files are read in large blocks.
    static constexpr std::size_t consolePieceBytes = 16 * 1024;
    static constexpr std::size_t filePieceBytes = 1024 * 1024;

    // One read of at most `size` bytes: false with the Windows error set when it fails.
    using Reader = std::function<bool(char *into, DWORD size, DWORD &got, DWORD &error)>;

    // Reads the input to its end (a pipe's closing, a file's end, Ctrl+Z on a console). The temporary
    // file, if one is needed, goes into spillFolder (which ends in a backslash).
    SpooledInput(HANDLE input, std::size_t memoryLimit, const std::string &spillFolder);
    // The same through another reader, in pieces of the size given (tests of what only a console does).
    SpooledInput(const Reader &read, std::size_t pieceSize, std::size_t memoryLimit,
                 const std::string &spillFolder);

    std::uint64_t size() const { return held_.size() + spilledSize_; }
    // The input's bytes from the start, in blocks.
    void replay(const std::function<void(const char *, std::size_t)> &sink) const;

private:
    void spill(const char *data, std::size_t size, const std::string &spillFolder);

    std::string held_;
    FileHandle spilled_;
    std::uint64_t spilledSize_ = 0;
};
