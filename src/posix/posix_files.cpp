#include "posix_files.h"

#include "posix_error.h"
#include "posix_paths.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Reads are large and sequential: a file up to this size is one read into a block sized to it, a
// larger one is read in blocks of this size.
constexpr std::size_t largestBlock = 1024 * 1024;

bool sameInode(const struct stat &one, const struct stat &other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// Reads exactly `size` bytes at `offset`, or finds the file shorter: the text ends early (62).
void readExactly(int file, char *into, std::size_t size, std::uint64_t offset) {
    for (std::size_t got = 0; got < size;) {
        const ssize_t read = pread(file, into + got, size - got, static_cast<off_t>(offset + got));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) raiseErrno(errno);
        if (read == 0) raiseError(err::InputPastEnd);
        got += static_cast<std::size_t>(read);
    }
}

} // namespace

PosixSourceFile::PosixSourceFile(const std::string &path) {
    // Not blocking: a pipe without a writer is refused below rather than waited on.
    file_.reset(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file_.valid()) raiseErrnoForPath(errno, path);
    struct stat about {};
    if (fstat(file_.get(), &about) != 0) raiseErrno(errno);
    if (!S_ISREG(about.st_mode)) raiseError(err::PathFileAccess);
}

std::uint64_t PosixSourceFile::length() {
    struct stat about {};
    if (fstat(file_.get(), &about) != 0) raiseErrno(errno);
    return static_cast<std::uint64_t>(about.st_size);
}

void PosixSourceFile::readBlocks(std::uint64_t length, const BlockSink &sink) {
    std::vector<char> block(static_cast<std::size_t>(std::min<std::uint64_t>(length, largestBlock)));
    for (std::uint64_t done = 0; done < length;) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, largestBlock));
        readExactly(file_.get(), block.data(), want, done);
        sink(block.data(), want);
        done += want;
    }
}

Sameness PosixSourceFile::isAt(const std::string &path) {
    struct stat open {
    }, named{};
    if (fstat(file_.get(), &open) != 0) return Sameness::Unknown;
    if (stat(path.c_str(), &named) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Sameness::Different : Sameness::Unknown;
    return sameInode(open, named) ? Sameness::Same : Sameness::Different;
}

void PosixSourceFile::close() { file_.reset(); }

void writeAll(PosixCalls &calls, int file, std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t chunk = std::min<std::size_t>(bytes.size(), std::size_t{1} << 30);
        const ssize_t written = calls.write(file, bytes.data(), chunk);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) raiseErrno(errno);
        if (written == 0) raiseError(err::DiskFull);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void writeWholeFile(PosixCalls &calls, const std::string &path, std::string_view bytes) {
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666));
    if (!file.valid()) raiseErrnoForPath(errno, path);
    writeAll(calls, file.get(), bytes);
    if (file.close() != 0 && errno != EINTR) raiseErrno(errno);
}

bool fileExists(const std::string &path) {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat about {};
    return file.valid() && fstat(file.get(), &about) == 0 && !S_ISDIR(about.st_mode);
}

bool folderExists(const std::string &path) {
    struct stat about {};
    return !path.empty() && stat(path.c_str(), &about) == 0 && S_ISDIR(about.st_mode);
}

void createFolderPath(const std::string &given) {
    const std::string folder = withoutTrailingSlashes(given);
    if (folder.empty() || folderExists(folder)) return;
    if (mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST) return;
    const int code = errno;
    const std::string parent = folderOf(folder);
    if (code != ENOENT || parent == folder || folder.find('/') == std::string::npos)
        raiseErrnoForPath(code, folder);
    createFolderPath(parent);
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) raiseErrnoForPath(errno, folder);
}

Sameness sameFileOnDisk(const std::string &first, const std::string &second) {
    struct stat one {
    }, other{};
    if (stat(first.c_str(), &one) != 0 || stat(second.c_str(), &other) != 0) return Sameness::Different;
    return sameInode(one, other) ? Sameness::Same : Sameness::Different;
}
