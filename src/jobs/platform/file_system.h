// What the jobs need of a platform's files and folders, as narrow interfaces that src/win32 and
// src/posix implement: a source read in blocks under its share rule, a destination replaced whole or not
// at all, a folder's names, and telling two files apart. The jobs hold a FileSystem handed to them and
// never see a platform header; each program hands in its platform's.
//
// Failures raise the program's error (app_error.h) with the platform's reason mapped to its numbers:
// 53 not found, 76 folder not found, 70 held by another program, 75 access refused, 61 disk full ...
#pragma once

#include "app_error.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Whether others may write a source while it is read. Denied: a file another program holds open for
// writing fails with 70 (where the platform has share modes; elsewhere both read alike).
enum class ShareWrite { Allowed, Denied };

// Whether two names reach one file. Unknown where the platform cannot tell: a caller that risks the
// source treats it as Same.
enum class Sameness { Same, Different, Unknown };

// What the writer of a replacement knows of its destination: nothing, or that no file had its name
// when the destination's folder was listed.
enum class DestinationSeen { Unknown, Free };

// A destination name that reaches an existing file under another long name (a Windows 8.3 alias): the
// name does not name that file. An error 75 to whoever does not tell it apart.
struct DestinationIsAlias : AppError {};

using BlockSink = std::function<void(const char *, std::size_t)>;

// A file open for reading.
class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual std::uint64_t length() = 0;
    // Hands the file's first `length` bytes to the sink from its start in blocks: a file up to 1 MiB in
    // one block sized to it, a larger one in blocks of 1 MiB. A file that shrinks meanwhile fails with
    // 62, so no caller sees a mix of old and new text.
    virtual void readBlocks(std::uint64_t length, const BlockSink &sink) = 0;
    // Whether this open file is the one the path names (Different when the path names no file).
    virtual Sameness isAt(const std::string &path) = 0;
    virtual void close() = 0;
};

// The names in a folder as they were when it was listed, compared as the platform compares names.
// Only a hint of what is there by the time a name is used.
class FolderListing {
public:
    virtual ~FolderListing() = default;
    virtual bool has(const std::string &name) const = 0;
};

// A new content for a destination, written beside it under one of the program's own names and put in
// place in one step by commit(). Left uncommitted, it is removed and the destination stays as it was;
// a program ended meanwhile leaves a file that the next run's recoverLeftovers removes.
class Replacement {
public:
    virtual ~Replacement() = default;
    virtual void write(std::string_view bytes) = 0;
    // Makes what is written durable ahead of commit(), on any thread while nothing else uses the
    // replacement; a failure is kept for commit() to raise where an existing file is to be replaced.
    virtual void flushAhead() = 0;
    // Puts the replacement in place. Given the open source (of the same FileSystem), an existing
    // destination that is that source or cannot be told apart from it is refused (75).
    virtual void commit(SourceFile *source = nullptr) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::unique_ptr<SourceFile> openForReading(const std::string &path, ShareWrite share) = 0;
    // A folder run hands in its listing of the destination's folder (from listing() of this FileSystem).
    virtual std::unique_ptr<Replacement> replacementOf(const std::string &destination, DestinationSeen seen,
                                                       const FolderListing *listing) = 0;
    // Creates the file or empties it, then writes the bytes (the program's own working files).
    virtual void writeWholeFile(const std::string &path, std::string_view bytes) = 0;

    virtual bool fileExists(const std::string &path) = 0;   // a file that can be opened now
    virtual bool folderExists(const std::string &path) = 0; // with or without a trailing separator
    // Makes the folder and every folder above it that is missing.
    virtual void createFolderPath(const std::string &folder) = 0;
    virtual std::unique_ptr<FolderListing> listing(const std::string &folder) = 0;
    // The name of each ordinary file of the folder (not a folder, hidden or system file) whose name
    // matches the wildcard pattern ("*.txt"), in the order the system yields them.
    virtual void forEachOrdinaryFile(const std::string &folder, const std::string &pattern,
                                     const std::function<void(const std::string &)> &found) = 0;
    // Whether the folder refuses new files for lack of access (75), found by making a probe file that
    // goes when it is closed.
    virtual bool refusesNewFiles(const std::string &folder) = 0;
    // What processes that no longer run left in the folder in the middle of a replace, put right.
    virtual void recoverLeftovers(const std::string &folder) = 0;

    // Whether two paths name one file or folder on disk, however each is spelled. Different when
    // either cannot be opened: a name that names nothing is no file.
    virtual Sameness sameFileOnDisk(const std::string &first, const std::string &second) = 0;
    // A name as the platform compares names, so that two names with one key name one file on the usual
    // volumes (folded to one case on Windows, the bytes themselves on POSIX).
    virtual std::string nameKey(const std::string &name) = 0;
};
