// The files a run of the console program works on, from its arguments: a file as it is, a folder's
// files of the chosen extensions (with -r, those of its subfolders too), and a wildcard in the last
// part of an argument expanded by the program itself, as Windows programs do (the shell leaves it).
#pragma once

#include "win.h"

#include <cstdint>
#include <string>
#include <vector>

struct InputFile {
    std::string source;
    // Its place under a destination folder: the file's name, or its path below the folder given.
    std::string relative;
};

// An argument that gave no file: a wildcard that matched nothing, or a folder that could not be read.
struct InputProblem {
    std::string name;
    int32_t errorNumber = 0;
};

struct InputList {
    std::vector<InputFile> files;
    std::vector<InputProblem> problems;
    // A folder or a wildcard was given: the inputs can be many, so a destination is a folder.
    bool many = false;
};

// The system's folder search, a call at a time: a test gives its own to return what only Windows
// does (reparse tags of cloud files, a search that fails halfway through a folder).
class FolderSearch {
public:
    virtual ~FolderSearch() = default;
    // FindFirstFileW and FindNextFileW: INVALID_HANDLE_VALUE or false with the last error set.
    virtual HANDLE first(const std::wstring &search, WIN32_FIND_DATAW &found);
    virtual bool next(HANDLE search, WIN32_FIND_DATAW &found);
    virtual void close(HANDLE search);
};

// A file argument that does not exist is kept as it is: reading it names the failure; one given by its
// 8.3 short name is taken by its long name. Hidden and system files and folders are left out of
// folders and wildcards, as are linked folders (junctions and symbolic links, by their reparse tags)
// when descending, so that no folder is visited twice; folders with other reparse points (cloud files
// kept online) are ordinary folders. "*.*" takes every file, also one without an extension, as cmd
// does. A folder's files come in the order of their names.
InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive);
InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive, FolderSearch &search);

// A bare name that Windows would take for a device ("aux.txt", "con.c") as the file of that name in the
// working folder (".\aux.txt"), which is opened as the file it is; every other name as it is.
std::string asFileName(const std::string &name);

// A 32-bit program under WOW64 that opens %windir%\System32 is sent to SysWOW64 without a word: a
// path there is taken through %windir%\Sysnative, the name that reaches the real folder. Other paths,
// and every path when not under WOW64, come back as they are.
std::string nativeSystemPath(const std::string &path, bool underWow64);
