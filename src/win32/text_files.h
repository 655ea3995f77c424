// Files as the conversion jobs use them: opened with the share modes they need, read a block at a
// time, written whole or appended to. Destinations are replaced by replacement_file.h.
#pragma once

#include "file_system.h"
#include "handles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Opens an existing file for reading; with writing denied, a file another program holds open for
// writing fails with 70. Failures raise the program's error number.
FileHandle openForReading(const std::string &path, ShareWrite share);

std::uint64_t fileLength(const FileHandle &file);

// Hands the file's bytes to the sink in blocks, from the current position to the length the file had
// when the call began: a file up to 1 MiB in one block sized to it, a larger one in blocks of 1 MiB.
// Bytes added meanwhile are not read; a file that shrinks meanwhile fails with 62, so no caller
// sees a mix of old and new text.
void readBlocks(const FileHandle &file, const std::function<void(const char *, std::size_t)> &sink);

// The same for a file just opened, so read from its start, whose length the caller has asked already:
// nothing more is asked of the system before the reads. Bytes past that length are not read.
void readBlocks(const FileHandle &file, std::uint64_t length,
                const std::function<void(const char *, std::size_t)> &sink);

// The same from `start`, where the file's position stands, up to `end` (at most).
void readBlocksFrom(const FileHandle &file, std::uint64_t start, std::uint64_t end,
                    const std::function<void(const char *, std::size_t)> &sink);

// The whole file's bytes (small files only: the clipboard's text and the program's own lists).
std::string readWholeFile(const std::string &path, ShareWrite share);

// Writes all the bytes at the file's position; a disk that takes none fails with 61.
void writeAll(const FileHandle &file, std::string_view bytes);

// Creates the file or empties it, then writes the bytes.
void writeWholeFile(const std::string &path, std::string_view bytes);

// Appends the bytes at the end of the file, creating it when missing; never truncates.
void appendToFile(const std::string &path, std::string_view bytes);

// Deletes the file; a missing file is no failure.
void deleteFileIfPresent(const std::string &path);
