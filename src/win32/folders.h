// Folders and files on disk, as the program looks at them: whether a file can be read now, whether a
// folder is there, and the ordinary files of a folder that match a pattern.
#pragma once

#include <functional>
#include <string>

bool fileExists(const std::string &path) noexcept;

// True when the folder exists (with or without a trailing backslash).
bool DirExists(const std::string &folder) noexcept;

// Makes the folder and every folder above it that is missing.
void createFolderPath(const std::string &folder);

// The path folded to one letter case, as Windows compares names: two paths with one key name one
// file on the usual volumes.
std::string pathKey(const std::string &path);

void forEachOrdinaryFile(const std::string &search, const std::function<void(const std::string &)> &found);
