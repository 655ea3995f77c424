#include "console/posix_input_names.h"

#include "app_error.h"
#include "posix_error.h"
#include "posix_paths.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct FolderCloser {
    void operator()(DIR *folder) const { closedir(folder); }
};

// What an entry is, asking the system only where the listing does not say: a link is followed to see
// whether it leads to a folder or a regular file.
enum class EntryKind { Folder, LinkedFolder, File, Other };

EntryKind kindOf(DIR *folder, const dirent &entry) {
    unsigned char type = entry.d_type;
    struct stat status {};
    if (type == DT_UNKNOWN) {
        if (fstatat(dirfd(folder), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
        type = S_ISLNK(status.st_mode)   ? DT_LNK
               : S_ISDIR(status.st_mode) ? DT_DIR
               : S_ISREG(status.st_mode) ? DT_REG
                                         : DT_UNKNOWN;
    }
    if (type == DT_DIR) return EntryKind::Folder;
    if (type == DT_REG) return EntryKind::File;
    if (type != DT_LNK || fstatat(dirfd(folder), entry.d_name, &status, 0) != 0) return EntryKind::Other;
    if (S_ISDIR(status.st_mode)) return EntryKind::LinkedFolder;
    return S_ISREG(status.st_mode) ? EntryKind::File : EntryKind::Other;
}

} // namespace

std::string PosixInputNames::joined(const std::string &folder, const std::string &name) const {
    return ::joined(folder, name);
}

bool PosixInputNames::hasExtension(const std::string &name, const std::string &extension) const {
    return name.size() > extension.size() + 1 && name.ends_with(extension) &&
           name[name.size() - extension.size() - 1] == '.';
}

NamedInput PosixInputNames::named(const std::string &argument) {
    NamedInput named;
    struct stat status {};
    if (stat(argument.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        named.kind = NamedInput::Kind::Folder;
        named.path = argument;
        return named;
    }
    named.files.push_back({argument, nameOf(argument)});
    named.folder = folderOf(argument);
    return named;
}

std::vector<FolderEntry> PosixInputNames::entries(const std::string &folder) {
    const std::unique_ptr<DIR, FolderCloser> listing(opendir(folder.c_str()));
    if (!listing)
        raiseError(errno == ENOENT || errno == ENOTDIR ? err::PathNotFound : errorNumberForErrno(errno));
    std::vector<FolderEntry> entries;
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(listing.get());
        if (!entry) break;
        if (entry->d_name[0] == '.') continue; // ".", ".." and hidden names
        switch (kindOf(listing.get(), *entry)) {
        case EntryKind::Folder: entries.push_back({entry->d_name, true, false}); break;
        case EntryKind::LinkedFolder: entries.push_back({entry->d_name, true, true}); break;
        case EntryKind::File: entries.push_back({entry->d_name, false, false}); break;
        case EntryKind::Other: break;
        }
    }
    if (errno != 0) raiseErrno(errno);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
}
