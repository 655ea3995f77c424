#include "posix_replacement.h"

#include "own_file_names.h"
#include "posix_error.h"
#include "posix_files.h"
#include "posix_own_files.h"
#include "posix_paths.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as Linux follows in one path before ELOOP.
constexpr int mostLinks = 40;

// The file that the destination's symbolic links lead to (the destination itself where it is no link),
// whether that file is there or not.
std::string linkTarget(const std::string &destination) {
    std::string path = destination;
    for (int links = 0;; ++links) {
        struct stat about {};
        if (lstat(path.c_str(), &about) != 0 || !S_ISLNK(about.st_mode)) return path;
        if (links == mostLinks) raiseErrno(ELOOP);
        char to[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), to, sizeof to);
        if (length < 0) raiseErrnoForPath(errno, path);
        if (static_cast<std::size_t>(length) == sizeof to) raiseErrno(ENAMETOOLONG);
        const std::string leadsTo(to, static_cast<std::size_t>(length));
        path = leadsTo.front() == '/' ? leadsTo : joined(folderOf(path), leadsTo);
    }
}

// Whether the destination is no longer there to be replaced (other failures are the replace's to report).
bool isFree(const std::string &path) {
    struct stat about {};
    return lstat(path.c_str(), &about) != 0 && errno == ENOENT;
}

// Marked read-only as Windows marks a file: by no one, or not by this user.
bool mayNotBeWritten(const std::string &path, const struct stat &about) {
    if ((about.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EROFS);
}

// A new file under a free name of the program's own beside the destination. A file system that takes
// shorter names than 255 bytes gets the program's names without the destination's.
FileDescriptor createTemporaryIn(const std::string &folder, std::string destinationName, mode_t mode,
                                 std::string &path) {
    for (;;) {
        path = joined(folder, ownTemporaryName(ownFileStem(), destinationName, NameMeasure::Bytes));
        FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode));
        if (file.valid()) return file;
        if (errno == EEXIST) continue;
        if (errno != ENAMETOOLONG || destinationName.empty()) raiseErrnoForPath(errno, path);
        destinationName.clear();
    }
}

} // namespace

PosixReplacement::PosixReplacement(const std::string &destination, PosixCalls &calls, DestinationSeen seen)
    : target_(linkTarget(destination)), calls_(calls), seen_(seen) {
    const mode_t mode = isFree(target_) ? 0666 : 0600;
    file_ = createTemporaryIn(folderOf(target_), nameOf(target_), mode, temporary_);
}

PosixReplacement::~PosixReplacement() {
    file_.reset();
    if (!committed_) calls_.unlink(temporary_);
}

void PosixReplacement::write(std::string_view bytes) { writeAll(calls_, file_.get(), bytes); }

void PosixReplacement::flushAhead() {
    int result = 0;
    do result = calls_.fsync(file_.get());
    while (result != 0 && errno == EINTR);
    flushFailure_ = result == 0 ? 0 : errno;
    flushedAhead_ = true;
}

void PosixReplacement::commit(SourceFile *source) {
    if ((seen_ == DestinationSeen::Free || isFree(target_)) && renamedToFreeName()) return;
    replaceExisting(source);
}

// The replacement under the destination's name where no file has it; false, with nothing changed,
// where one has.
bool PosixReplacement::renamedToFreeName() {
    if (calls_.renameToFreeName(temporary_, target_) != 0) {
        const int code = errno;
        if (code == EEXIST) return false;
        if (code != EINVAL && code != ENOSYS) raiseErrnoForPath(code, target_);
        // A file system that cannot rename so: looked at first, a file that comes meanwhile is replaced.
        if (!isFree(target_)) return false;
        if (calls_.rename(temporary_, target_) != 0) raiseErrnoForPath(errno, target_);
    }
    committed_ = true;
    // In place already: a failure to close (a network file system reporting a write it could not
    // make) still says that the text may be incomplete.
    closeFile();
    return true;
}

void PosixReplacement::replaceExisting(SourceFile *source) {
    struct stat existing {};
    if (lstat(target_.c_str(), &existing) != 0) raiseErrnoForPath(errno, target_);
    if (!S_ISREG(existing.st_mode) || mayNotBeWritten(target_, existing)) raiseError(err::PathFileAccess);
    if (source && source->isAt(target_) != Sameness::Different) raiseError(err::PathFileAccess);
    flushBeforeReplacing();
    takeOverOwnerAndMode(existing);
    closeFile();
    if (calls_.rename(temporary_, target_) != 0) raiseErrnoForPath(errno, target_);
    committed_ = true;
    flushFolder();
}

// The new bytes made durable before they take an existing file's place, here or ahead of time.
void PosixReplacement::flushBeforeReplacing() {
    if (!flushedAhead_) flushAhead();
    if (flushFailure_ != 0) raiseErrno(flushFailure_);
}

// The owner first: changing it clears the set-user-id and set-group-id bits, which the mode then
// sets again. Only the owner's own processes and root may give a file away; a member of the file's
// group may still give it that group.
void PosixReplacement::takeOverOwnerAndMode(const struct stat &existing) {
    if (fchown(file_.get(), existing.st_uid, existing.st_gid) != 0 &&
        fchown(file_.get(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Neither is this user's to give: the replacement stays this user's, as any file made here.
    }
    if (fchmod(file_.get(), existing.st_mode & 07777) != 0) raiseErrno(errno);
}

void PosixReplacement::closeFile() {
    if (file_.valid() && file_.close() != 0 && errno != EINTR) raiseErrno(errno);
}

void PosixReplacement::flushFolder() {
    const FileDescriptor folder(open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) (void)calls_.fsync(folder.get());
}
