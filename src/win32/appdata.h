// The per-user data folder: the user's application data folder, then "Hollowcrest software", then
// "Quillmere", created when missing; the caller's fallback when it cannot be had.
#pragma once

#include <string>

// Always ends in a backslash.
std::string appDataFolder(const std::string &fallback) noexcept;

// The shell folder's path with a backslash appended, or "" when the shell gives none.
std::string specialFolderPath(int folderNumber) noexcept;

// The folder of the running program, without a trailing backslash (unless it is a drive root).
std::string programFolder();
