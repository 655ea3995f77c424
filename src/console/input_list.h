// The files a run of the console program works on, from its arguments: a file as it is, a folder's
// files of the chosen extensions (with -r, those of its subfolders too), and, where the platform's
// names have them, the files a wildcard matches (input_names.h).
#pragma once

#include "input_names.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// Called with each folder before any file of it is taken: a folder given and each subfolder before it
// is listed, the folder a pattern searches before the pattern is matched, the folder of a named file.
// A run in place puts right there what a run ended in the middle of a replace left, so that a file
// whose name was missing meanwhile is back among the inputs.
using BeforeTakingFrom = std::function<void(const std::string &folder)>;

// A file argument that does not exist is kept as it is: reading it names the failure. A folder's
// files come in the order of their names, its subfolders' files after its own, each subfolder in its
// place; a folder that cannot be listed is a problem of its own, and the others are still taken.
InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive, InputNames &names, const BeforeTakingFrom &beforeTakingFrom = {});
