// Whether a file can be read now, and whether a folder is there.
#pragma once

#include <string>

// True only for a file that exists and can be opened for reading at this moment.
bool fileExists(const std::string &path) noexcept;

// True when the folder exists (with or without a trailing backslash).
bool DirExists(const std::string &folder) noexcept;
