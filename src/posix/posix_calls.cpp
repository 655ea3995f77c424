#include "posix_calls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/syscall.h>
#endif

ssize_t SystemPosixCalls::write(int file, const char *bytes, std::size_t size) {
    return ::write(file, bytes, size);
}

int SystemPosixCalls::fsync(int file) { return ::fsync(file); }

int SystemPosixCalls::rename(const std::string &from, const std::string &to) {
    return ::rename(from.c_str(), to.c_str());
}

// renameat2 by its system call: the C library's wrapper is younger than some that the program meets.
int SystemPosixCalls::renameToFreeName(const std::string &from, const std::string &to) {
#if defined(__linux__) && defined(SYS_renameat2)
    constexpr unsigned noReplace = 1; // RENAME_NOREPLACE
    return static_cast<int>(syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), noReplace));
#else
    (void)from;
    (void)to;
    errno = ENOSYS;
    return -1;
#endif
}

int SystemPosixCalls::unlink(const std::string &path) { return ::unlink(path.c_str()); }
