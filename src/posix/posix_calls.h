// The calls by which a replacement is written and put in place. Whatever replaces a destination is
// handed these calls, so that tests can fail them where a real disk seldom does (a full disk, a flush
// that reports an I/O error, a rename refused) and see what stays on disk. Each answers as its system
// call does: 0 (or the bytes written), or -1 with the reason in errno.
//
// fsync() may be called from several threads at once (a folder run flushes its replacements ahead on
// threads of their own, each reading its own errno); the other calls come from one thread at a time.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

class PosixCalls {
public:
    virtual ~PosixCalls() = default;

    virtual ssize_t write(int file, const char *bytes, std::size_t size) = 0; // write(2)
    virtual int fsync(int file) = 0;                                          // of a file or a folder
    // rename(2): replaces a file that has the name, in one step.
    virtual int rename(const std::string &from, const std::string &to) = 0;
    // A rename that never replaces a file: fails with EEXIST where one has the name, and with EINVAL or
    // ENOSYS where the file system or the system cannot rename so.
    virtual int renameToFreeName(const std::string &from, const std::string &to) = 0;
    virtual int unlink(const std::string &path) = 0;
};

// The system's own calls.
class SystemPosixCalls : public PosixCalls {
public:
    ssize_t write(int file, const char *bytes, std::size_t size) override;
    int fsync(int file) override;
    int rename(const std::string &from, const std::string &to) override;
    int renameToFreeName(const std::string &from, const std::string &to) override;
    int unlink(const std::string &path) override;
};
