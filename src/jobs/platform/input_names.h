// How the names a user gives the console program reach files on its platform, and the entries of the
// folders it takes files from. What only one system has stays in its implementation: on Windows the
// device names, the wildcards the program expands itself, 8.3 names and System32 under WOW64
// (src/win32/console); on POSIX, where the shell has expanded any pattern, an argument is a name, its
// bytes as they are (src/posix/console).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A file a run takes, and its place under a destination folder: its name, or its path below the
// folder given, written with the platform's separator.
struct InputFile {
    std::string source;
    std::string relative;
};

// What one argument names.
struct NamedInput {
    enum class Kind { File, Folder, Pattern };
    Kind kind = Kind::File;
    // Folder: the folder. Pattern: the pattern. Both as messages name them.
    std::string path;
    // File: the file, kept as given when no file has that name (reading it names the failure).
    // Pattern: the files it matches, in name order.
    std::vector<InputFile> files;
    // File and Pattern: the folder that holds the file or that the pattern searches, as a path the
    // platform opens ("" or "." for the working folder).
    std::string folder;
    // Pattern: the program's error when its folder could not be searched; 0 when it was.
    std::int32_t errorNumber = 0;
};

struct FolderEntry {
    std::string name;
    bool folder = false;
    // A link to a folder elsewhere (a symbolic link, a junction): never descended into, so that no
    // folder is visited twice and a run stays below the folder it was given.
    bool linked = false;
};

class InputNames {
public:
    virtual ~InputNames() = default;

    // Whether an argument holds a quote that the system's command-line rules left in it (on Windows,
    // from a quoted path that ends in a backslash). Where the shell takes quotes off, a quote that is
    // left is part of a name.
    virtual bool hasStrayQuote(const std::string &argument) const = 0;
    // The name whose output is thrown away (NUL on Windows, /dev/null on POSIX).
    virtual bool isNullDevice(const std::string &name) const = 0;
    // A device given where a file belongs, never read or written as a file (Windows: CON, COM1:,
    // \\.\PRN; a name with an extension, aux.txt, is a file).
    virtual bool isBareDevice(const std::string &name) const = 0;
    // The name as the file of that name (Windows reads "aux.txt" alone as a device: ".\aux.txt").
    virtual std::string asFileName(const std::string &name) const = 0;

    virtual bool isSeparator(char c) const = 0;
    // A name in a folder, or below a relative path, with the platform's separator between them (none
    // after a folder that ends in one; the name alone after an empty folder).
    virtual std::string joined(const std::string &folder, const std::string &name) const = 0;
    // Whether a file's name is at least one character and then ".extension", compared as the platform
    // compares names (Windows: in any letter case; POSIX: byte for byte).
    virtual bool hasExtension(const std::string &name, const std::string &extension) const = 0;

    virtual NamedInput named(const std::string &argument) = 0;
    // The entries of a folder that a run may take, in the order of their names: no "." or "..", nothing
    // hidden (Windows: hidden or system files; POSIX: names that start with a dot). Raises the program's
    // error when the folder cannot be listed, also when the listing fails halfway.
    virtual std::vector<FolderEntry> entries(const std::string &folder) = 0;
};
