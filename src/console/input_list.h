// The files a run of the console program works on, from its arguments: a file as it is, a folder's
// files of the chosen extensions (with -r, those of its subfolders too), and a wildcard in the last
// part of an argument expanded by the program itself, as Windows programs do (the shell leaves it).
#pragma once

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

// A file argument that does not exist is kept as it is: reading it names the failure. Hidden and
// system files and folders are left out of folders and wildcards, as are linked folders (junctions,
// symbolic links) when descending, so that no folder is visited twice. A folder's files come in the
// order of their names.
InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive);
