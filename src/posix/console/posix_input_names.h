// The names a user gives the console program on POSIX: each argument is a file or a folder, its bytes
// as they are (the shell has expanded any pattern, so a name that still holds * or ? is the file of
// that name). /dev/null discards the output; no name is a device to refuse and no quote a stray one.
//
// A folder's entries are its folders and its regular files (also through a symbolic link), in the
// byte order of their names; names that start with a dot are hidden, as ls and the shell's patterns
// have them. A symbolic link to a folder is listed as linked, so a run never descends into it; other
// entries (devices, pipes, sockets, links that lead nowhere) are no files to convert.
#pragma once

#include "input_names.h"

class PosixInputNames : public InputNames {
public:
    bool hasStrayQuote(const std::string &) const override { return false; }
    bool isNullDevice(const std::string &name) const override { return name == "/dev/null"; }
    bool isBareDevice(const std::string &) const override { return false; }
    std::string asFileName(const std::string &name) const override { return name; }

    bool isSeparator(char c) const override { return c == '/'; }
    std::string joined(const std::string &folder, const std::string &name) const override;
    bool hasExtension(const std::string &name, const std::string &extension) const override;

    // A folder when stat(2) says so (a link to a folder given by its name is that folder); anything
    // else is a file, kept as given.
    NamedInput named(const std::string &argument) override;
    std::vector<FolderEntry> entries(const std::string &folder) override;
};
