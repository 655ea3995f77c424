#include "posix_error.h"

#include "posix_paths.h"

#include <cerrno>
#include <sys/stat.h>

int32_t errorNumberForErrno(int code) {
    switch (code) {
    case ETXTBSY:
    case EBUSY: return err::PermissionDenied; // another program holds the file
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return err::PathFileAccess;
    case ELOOP:
    case ENAMETOOLONG:
    case EILSEQ: return err::BadFileName; // EILSEQ: bytes the file system takes in no name
    case ENOENT: return err::FileNotFound;
    case ENOTDIR: return err::PathNotFound; // a part of the path that should be a folder is a file
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::DiskFull;
    case ENOMEM: return err::OutOfMemory;
    default: return err::PathFileAccess;
    }
}

int32_t errorNumberForPath(int code, const std::string &path) {
    // A name with separators after it ("a.txt/", "gone/") stands for the same name as on Windows: the
    // name of a file followed by a separator is a bad name there, and a missing one is looked for in
    // the folder that holds the name, not in the name itself.
    const std::string name = withoutTrailingSlashes(path);
    struct stat about {};
    if (code == ENOTDIR && name.size() < path.size())
        return stat(name.c_str(), &about) == 0 && !S_ISDIR(about.st_mode) ? err::BadFileName
                                                                          : err::PathNotFound;
    if (code != ENOENT) return errorNumberForErrno(code);
    if (path.empty()) return err::PathNotFound; // as Windows answers a name of no characters
    const bool folderThere = stat(folderOf(name).c_str(), &about) == 0 && S_ISDIR(about.st_mode);
    return folderThere ? err::FileNotFound : err::PathNotFound;
}

void raiseErrno(int code) { raiseError(errorNumberForErrno(code)); }

void raiseErrnoForPath(int code, const std::string &path) { raiseError(errorNumberForPath(code, path)); }
