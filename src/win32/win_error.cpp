#include "win_error.h"

int32_t errorNumberForWin32(DWORD code) {
    switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return err::PermissionDenied;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return err::PathFileAccess;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_HANDLE: return err::BadFileName;
    case ERROR_FILE_NOT_FOUND: return err::FileNotFound;
    case ERROR_PATH_NOT_FOUND: return err::PathNotFound;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return err::DiskFull;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return err::OutOfMemory;
    default: return err::PathFileAccess;
    }
}

void raiseWin32(DWORD code) { raiseError(errorNumberForWin32(code)); }

void raiseLastError() { raiseWin32(GetLastError()); }
