// Files as the conversion jobs use them: opened with the share modes they need, read a block at a
// time, and destinations replaced whole or not at all.
#pragma once

#include "platform/handles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>


enum class ShareWrite { Allowed, Denied };

// Opens an existing file for reading; with writing denied, a file another program holds open for
// writing fails with 70. Failures raise the program's error number.
FileHandle openForReading(const std::string &path, ShareWrite share);

std::uint64_t fileLength(const FileHandle &file);

// Hands the file's bytes to the sink in blocks, from the current position to the length the file had
// when the call began: a file up to 1 MiB in one block sized to it, a larger one in blocks of 1 MiB.
// Bytes added meanwhile are not read; a file that shrinks meanwhile fails with 62, so no caller
// sees a mix of old and new text.
void readBlocks(const FileHandle &file, const std::function<void(const char *, std::size_t)> &sink);

// The whole file's bytes (small files only: the clipboard's text and the program's own lists).
std::string readWholeFile(const std::string &path, ShareWrite share);

// Creates the file or empties it, then writes the bytes.
void writeWholeFile(const std::string &path, std::string_view bytes);

// Appends the bytes at the end of the file, creating it when missing; never truncates.
void appendToFile(const std::string &path, std::string_view bytes);

// Deletes the file; a missing file is no failure.
void deleteFileIfPresent(const std::string &path);

// A new content for a destination: written to a temporary file in the destination's own folder and
// moved over the destination in one step by commit(). Left uncommitted, the temporary file is
// removed and the former destination stays as it was.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::string &destination);
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;
    ~ReplacementFile();

    void write(std::string_view bytes);
    void commit();
    const std::string &temporaryPath() const { return temporary_; }

private:
    std::string destination_;
    std::string temporary_;
    FileHandle file_;
    bool committed_ = false;
};
