// Windows paths as text: taking them apart (the extension, the name, the folder), a trailing
// backslash, and trimming. Backslash is the only separator and nothing here looks at the disk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pathPart {
inline constexpr int32_t extension = 0;      // after the last '.' of the whole path
inline constexpr int32_t nameWithoutExt = 1; // last component cut before its first '.'
inline constexpr int32_t fileName = 2;       // last component
inline constexpr int32_t folder = 3;         // up to and including the last '\'
} // namespace pathPart

// One part of path (see pathPart); "" for any other part number. Parts 1 to 3 of an empty path
// fail with 9.
std::string filePart(std::string_view path, int32_t part);

// The folder part of a path, without the separator ('\' or '/') that ends it: "" where the path has no
// separator ("a.txt"), "C:" for "C:\a.txt".
std::string folderOfPath(std::string_view path);
// The rest: the path's last part ("a.txt" for "C:\dir/a.txt", the whole path where it has no separator).
std::string nameOfPath(std::string_view path);

// The path with one '\' at its end ("\" for an empty path).
std::string addBackslash(std::string_view path);

// The text without the spaces around it, as the program trims paths and stored texts (spaces only:
// a tab is part of the text).
std::string trimSpaces(std::string_view text);
