// Files and folders as the jobs use them on POSIX: a source read in blocks, whole files written,
// whether a file or a folder is there, folders made, and two paths told apart by device and inode.
//
// POSIX has no share modes: a source is read alike whether others may write it or not (ShareWrite is
// not looked at), and a file that shrinks while it is read fails with 62 as on every platform.
#pragma once

#include "file_descriptor.h"
#include "file_system.h"
#include "posix_calls.h"

#include <cstdint>
#include <string>
#include <string_view>

// A regular file opened for reading: a folder, a device or a pipe is refused (75).
class PosixSourceFile : public SourceFile {
public:
    explicit PosixSourceFile(const std::string &path);

    std::uint64_t length() override;
    void readBlocks(std::uint64_t length, const BlockSink &sink) override;
    // Same where the path reaches this file's device and inode, however it is spelled (a hard link, a
    // symbolic link, "." and ".." segments); Unknown where either cannot be looked at.
    Sameness isAt(const std::string &path) override;
    void close() override;

private:
    FileDescriptor file_;
};

// Writes all the bytes at the file's position, again after an interrupted write; a disk that takes
// none fails with 61.
void writeAll(PosixCalls &calls, int file, std::string_view bytes);

// Creates the file or empties it, then writes the bytes.
void writeWholeFile(PosixCalls &calls, const std::string &path, std::string_view bytes);

bool fileExists(const std::string &path);   // a file that is no folder and can be opened for reading now
bool folderExists(const std::string &path); // with or without a trailing '/'
// Makes the folder and every folder above it that is missing (a name that a file has is left to the
// first use of the folder to report).
void createFolderPath(const std::string &folder);

// Whether two paths reach one device and inode. Different when either cannot be looked at.
Sameness sameFileOnDisk(const std::string &first, const std::string &second);
