// Files as the conversion jobs use them: opened with the share modes they need, read a block at a
// time, and destinations replaced whole or not at all.
#pragma once

#include "handles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

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

// The same for a file just opened, so read from its start, whose length the caller has asked already:
// nothing more is asked of the system before the reads. Bytes past that length are not read.
void readBlocks(const FileHandle &file, std::uint64_t length,
                const std::function<void(const char *, std::size_t)> &sink);

// The whole file's bytes (small files only: the clipboard's text and the program's own lists).
std::string readWholeFile(const std::string &path, ShareWrite share);

// Creates the file or empties it, then writes the bytes.
void writeWholeFile(const std::string &path, std::string_view bytes);

// Appends the bytes at the end of the file, creating it when missing; never truncates.
void appendToFile(const std::string &path, std::string_view bytes);

// Whether two paths name one file or folder on disk, however each is spelled (8.3 names, trailing
// dots or blanks, case, doubled or forward slashes, "." and ".." segments, another drive mapped to
// the same folder): compared by volume serial number and file index, not by text. False when either
// cannot be opened.
bool sameFileOnDisk(const std::string &first, const std::string &second);

// Whether the open file is the one this path names (false when the path names no file).
bool isFileAt(const FileHandle &file, const std::string &path);

// Deletes the file; a missing file is no failure.
void deleteFileIfPresent(const std::string &path);

// The calls that put a replacement in place, apart so that tests can fail them or count them. Each
// answers as its Windows call does: false with the reason in GetLastError.
class FileMoves {
public:
    virtual ~FileMoves() = default;
    virtual bool flush(HANDLE file);                                                      // FlushFileBuffers
    virtual bool replace(const std::string &destination, const std::string &replacement); // ReplaceFileA
    virtual bool move(const std::string &from, const std::string &to);                    // MoveFileExA
    // MoveFileExA that never replaces a file: fails with ERROR_ALREADY_EXISTS where one has the name.
    virtual bool moveToFreeName(const std::string &from, const std::string &to);
    virtual void pause(DWORD milliseconds); // Sleep
};

// The calls in use: Windows' own unless a test has put others in place.
FileMoves &fileMoves();

// Puts other calls in place for as long as it lives (tests).
class FileMovesOverride {
public:
    explicit FileMovesOverride(FileMoves &replacement);
    ~FileMovesOverride();
    FileMovesOverride(const FileMovesOverride &) = delete;
    FileMovesOverride &operator=(const FileMovesOverride &) = delete;

private:
    FileMoves *previous_;
};

// How often, and how far apart, a move that another program stands in the way of is tried.
inline constexpr int moveAttempts = 10;
inline constexpr DWORD moveRetryPause = 100;

// The names in a folder as they were when it was listed, told apart without regard to case (hidden
// and system files and subfolders included). Only a hint of what is there by the time a name is used.
class FolderNames {
public:
    explicit FolderNames(const std::string &folder);
    bool has(const std::string &name) const;

private:
    std::unordered_set<std::wstring> names_;
};

// What the writer of a replacement knows of its destination: nothing, or that no file had its name
// when the destination's folder was listed.
enum class DestinationSeen { Unknown, Free };

// A new content for a destination: written to a temporary file in the destination's own folder and
// moved over the destination in one step by commit(). Left uncommitted, the temporary file is
// removed and the former destination stays as it was.
//
// The temporary file never outlives the program: it is marked for deletion while it is written, so
// the system removes it when the program ends in any way, and the mark is taken off just before the
// move.
//
// Durable only where something can be lost. An existing destination is replaced (ReplaceFile, which
// keeps its attributes, ACL and creation time) only after the new bytes are flushed to the disk: a
// power cut between the move and the lazy write could otherwise leave neither the old bytes nor the
// new. A new destination is moved into place without a flush: a power cut then leaves no file or an
// incomplete new one, while the source is intact and a later run makes it again. A read-only
// destination is refused (75) and left as it is. A move that a virus scanner or an indexer briefly
// stands in the way of (sharing or access denied) is tried again, moveAttempts times in all.
//
// A destination seen free is moved to its name by a move that never replaces a file, with no look at
// the destination beforehand; where a file has taken the name meanwhile, the move fails and that file
// is replaced as any existing destination, after a flush.
//
// commit() given the open source refuses (75) an existing destination that is that source, however it
// is reached (another spelling of its path, a hard link, a symbolic link): the source stays as it is.
// A destination that does not exist needs no such look: a name that names no file is not the source,
// and the move to a free name cannot replace one.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::string &destination, DestinationSeen seen = DestinationSeen::Unknown);
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;
    ~ReplacementFile();

    void write(std::string_view bytes);
    void commit(const FileHandle *source = nullptr);
    const std::string &temporaryPath() const { return temporary_; }

private:
    bool movedToFreeName();
    void putInPlace(bool replacing);

    std::string destination_;
    std::string temporary_;
    FileHandle file_;
    DestinationSeen seen_;
    bool committed_ = false;
};
