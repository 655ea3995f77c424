#include "console/errno_numbers.h"

#include "app_error.h"

#include <cerrno>

std::int32_t consoleErrorNumber(int errnoValue) {
    switch (errnoValue) {
    case EBUSY:
    case ETXTBSY: return err::PermissionDenied;
    case ENAMETOOLONG:
    case EILSEQ:
    case EBADF: return err::BadFileName;
    case ENOENT: return err::FileNotFound;
    case ENOTDIR: return err::PathNotFound;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::DiskFull;
    case ENOMEM: return err::OutOfMemory;
    default: return err::PathFileAccess;
    }
}

void raiseConsoleError(int errnoValue) { raiseError(consoleErrorNumber(errnoValue)); }
