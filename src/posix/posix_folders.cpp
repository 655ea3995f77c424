#include "posix_folders.h"

#include "own_file_names.h"
#include "posix_error.h"
#include "posix_own_files.h"
#include "posix_paths.h"
#include "text_encoding.h"
#include "wildcard.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A name's characters for the wildcard: each well-formed UTF-8 sequence its code point, each other
// byte a value of its own that no character has (as Python's "surrogateescape" keeps them).
std::wstring charactersOf(const std::string &name) {
    static_assert(sizeof(wchar_t) >= 4, "POSIX systems keep a code point in one wchar_t");
    std::wstring characters;
    const auto *p = reinterpret_cast<const unsigned char *>(name.data());
    const auto *end = p + name.size();
    while (p < end) {
        unsigned length = 1;
        char32_t codePoint = *p;
        if (*p >= 0x80 && utf8::sequence(p, end, length, codePoint) != utf8::Step::Complete) {
            length = 1;
            codePoint = 0xDC00 + *p;
        }
        characters += static_cast<wchar_t>(codePoint);
        p += length;
    }
    return characters;
}

bool isOrdinaryFile(const std::string &folder, const dirent &entry) {
    if (entry.d_name[0] == '.') return false;
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat about {};
    return stat(joined(folder, entry.d_name).c_str(), &about) == 0 && S_ISREG(about.st_mode);
}

// Every entry of the folder that the filter keeps; a folder that is not there has none.
template <typename Keep> std::vector<std::string> namesIn(const std::string &folder, const Keep &keep) {
    std::vector<std::string> names;
    DIR *listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) {
        if (errno == ENOENT || errno == ENOTDIR) return names;
        raiseErrnoForPath(errno, folder);
    }
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(listing);
        if (!entry) break;
        if (keep(*entry)) names.emplace_back(entry->d_name);
    }
    const int code = errno;
    closedir(listing);
    if (code != 0) raiseErrno(code);
    return names;
}

} // namespace

PosixFolderListing::PosixFolderListing(const std::string &folder) {
    try {
        for (std::string &name : namesIn(folder, [](const dirent &) { return true; }))
            names_.insert(std::move(name));
    } catch (const AppError &) {
        // Nothing seen: every name is looked at when it is used.
    }
}

bool PosixFolderListing::has(const std::string &name) const { return names_.count(name) != 0; }

void forEachOrdinaryFile(const std::string &folder, const std::string &pattern,
                         const std::function<void(const std::string &)> &found) {
    const std::wstring wanted = charactersOf(pattern);
    const std::vector<std::string> names = namesIn(folder, [&](const dirent &entry) {
        return matchesWildcard(wanted, charactersOf(entry.d_name)) && isOrdinaryFile(folder, entry);
    });
    for (const std::string &name : names) found(name);
}

bool refusesNewFiles(const std::string &folder) {
    for (;;) {
        const std::string probe = joined(folder, ownTemporaryName(ownFileStem(), "", NameMeasure::Bytes));
        const int file = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600);
        if (file >= 0) {
            close(file);
            unlink(probe.c_str());
            return false;
        }
        if (errno != EEXIST) return errno == EACCES || errno == EPERM || errno == EROFS;
    }
}
