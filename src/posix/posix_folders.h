// Folders as the jobs look at them on POSIX: the names a folder holds, its ordinary files that match
// a pattern, and whether it takes new files.
//
// An ordinary file is a regular file whose name does not start with '.': the dot is how POSIX hides a
// file (the shell's "*" and the file managers pass it over), as Windows has its hidden attribute, and a
// folder run changes no file that its user does not see. A symbolic link counts as what it leads to: a
// link to a regular file is an ordinary file (as Windows lists a link to a file), a link to a folder or
// to nothing is not. Names are bytes: the pattern's letters match only in their own case.
#pragma once

#include "file_system.h"

#include <functional>
#include <string>
#include <unordered_set>

// Every name of the folder when it was listed, dot files and subfolders included, compared byte for byte.
class PosixFolderListing : public FolderListing {
public:
    explicit PosixFolderListing(const std::string &folder);
    bool has(const std::string &name) const override;

private:
    std::unordered_set<std::string> names_;
};

// The names of the folder's ordinary files that match the wildcard pattern ('*' any run of characters,
// '?' one character, every other character itself, as on Windows), in the order the system yields
// them. All are found before the first is handed on, so what the caller does with one name never
// changes which names it is handed. A folder that is not there holds nothing; "" is the current one.
void forEachOrdinaryFile(const std::string &folder, const std::string &pattern,
                         const std::function<void(const std::string &)> &found);

// Whether the folder refuses new files (EACCES, EPERM, EROFS), found by making a file under one of the
// program's own names there and removing it.
bool refusesNewFiles(const std::string &folder);
