// Standard input over a Windows handle, and the temporary files that keep what goes past the memory
// the console program holds its input in.
#pragma once

#include "handles.h"
#include "standard_input.h"
#include "win.h"

#include <string>

class HandleInput : public StandardInput {
public:
    // A console takes reads of at most 16 KiB (Windows 7's console shares one small heap for them);
    // pipes and files are read in large blocks.
    static constexpr std::size_t consolePieceBytes = 16 * 1024;
    static constexpr std::size_t filePieceBytes = 1024 * 1024;

    explicit HandleInput(HANDLE handle);

    std::size_t pieceSize() const override { return console_ ? consolePieceBytes : filePieceBytes; }
    // The end of a pipe (ERROR_BROKEN_PIPE) and of a file is the end of the input; a console read that
    // Ctrl+C ended is InputInterrupted.
    std::size_t read(char *into, std::size_t size) override;
    // A file on disk past `largerThan` bytes, read again through a handle of its own.
    std::unique_ptr<InputFileInPlace> fileInPlace(std::uint64_t largerThan) override;

protected:
    // Over a handle that the caller says is or is not a console (tests).
    HandleInput(HANDLE handle, bool console) : handle_(handle), console_(console) {}
    // One ReadFile: false with the Windows error set when it fails. From Windows 8 a console read that
    // Ctrl+C interrupts succeeds with no bytes and leaves ERROR_OPERATION_ABORTED as the last error: it
    // is told apart here from the end that Ctrl+Z gives, which leaves no error.
    virtual bool readPiece(char *into, DWORD size, DWORD &got, DWORD &error);

private:
    HANDLE handle_;
    bool console_;
};

// Spill files in a folder (the user's temporary folder, or a test's), which ends in a backslash: only
// this program sees them, and the system removes each when it is closed, also when the program is
// ended in any other way.
class TemporarySpillFiles : public SpillFiles {
public:
    explicit TemporarySpillFiles(std::string folder) : folder_(std::move(folder)) {}
    std::unique_ptr<SpillFile> create() override;

private:
    std::string folder_;
};
