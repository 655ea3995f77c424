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

// The program's own files in the per-user data folder.
namespace dataFile {
inline constexpr const char *temporary = "TEMP.txt";        // the clipboard's text as it was read
inline constexpr const char *secondTemporary = "TEMP2.txt"; // the clipboard's text under tab stops
inline constexpr const char *extensions = "extensions.txt"; // the extensions the filter offers
inline constexpr const char *errorLog = "errorlog.txt";     // the failed files the user saved
} // namespace dataFile
