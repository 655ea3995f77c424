// Standard input of the console program as its platform reads it, and the file that keeps what goes
// past the memory the program holds it in. Implemented over a Windows handle (src/win32/console) and a
// POSIX descriptor (src/posix/console).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

// Input that an interrupt (Ctrl+C on Windows, SIGINT or SIGTERM on POSIX) cut short: no whole text, so
// nothing may be made of it.
struct InputInterrupted {};

// A file on disk that standard input is redirected from: its bytes from where the input stood when it
// was taken to the file's end then, read again where they are as often as needed. A file that proves
// shorter by then fails with 62, as a named file does.
class InputFileInPlace {
public:
    virtual ~InputFileInPlace() = default;
    virtual std::uint64_t size() const = 0;
    virtual void replay(const std::function<void(const char *, std::size_t)> &sink) = 0;
};

class StandardInput {
public:
    virtual ~StandardInput() = default;
    // The largest read it takes at once (a Windows console takes 16 KiB; pipes and files more).
    virtual std::size_t pieceSize() const = 0;
    // Up to `size` bytes into `into`: how many were read, 0 at the end of the input (a pipe's closing,
    // a file's end, Ctrl+Z or Ctrl+D typed). Raises InputInterrupted when an interrupt ends the read,
    // and the program's error when the read fails.
    virtual std::size_t read(char *into, std::size_t size) = 0;
    // Where the input is a file on disk and the rest of it is larger than `largerThan` bytes: that rest
    // taken whole, with the input left at its end as a reader leaves it, so that none of it need be
    // kept in memory or a spill file. Otherwise nullptr: a pipe, a terminal, a device, a smaller file
    // (read as any input, which also suits the files of /proc and /sys that tell no true size), or a
    // platform that reads every input through read().
    virtual std::unique_ptr<InputFileInPlace> fileInPlace(std::uint64_t /*largerThan*/) { return nullptr; }
};

// A file of the program's own that only it sees, gone when it is destroyed and also when the program
// is ended in any other way.
class SpillFile {
public:
    virtual ~SpillFile() = default;
    // Appends the bytes; raises the program's error when they cannot all be written.
    virtual void write(std::string_view bytes) = 0;
    // The bytes written, from the first, in blocks.
    virtual void replay(const std::function<void(const char *, std::size_t)> &sink) = 0;
};

class SpillFiles {
public:
    virtual ~SpillFiles() = default;
    // A new, empty spill file in the user's temporary folder; raises the program's error when none can
    // be made.
    virtual std::unique_ptr<SpillFile> create() = 0;
};
