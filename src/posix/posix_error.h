// Turns the reasons POSIX calls give (errno) into the program's error numbers, in one place.
#pragma once

#include "app_error.h"

#include <string>

int32_t errorNumberForErrno(int code);

// The error for a call that failed on a path, as Windows gives it for the same name: a name that is
// missing where its folder is there is 53, one whose folder is missing too 76 (ENOENT alone cannot
// tell them apart), and so is an empty name; a file's name with a '/' after it is 52.
int32_t errorNumberForPath(int code, const std::string &path);

[[noreturn]] void raiseErrno(int code);
[[noreturn]] void raiseErrnoForPath(int code, const std::string &path);
