// POSIX paths as text: '/' is the only separator, and every other byte (a backslash too) belongs to a
// name. Nothing here looks at the disk.
#pragma once

#include <string>
#include <string_view>

// The folder that holds the path's last part: "." where the path has no '/', "/" for "/a".
std::string folderOf(std::string_view path);
// The path's last part ("a.txt" for "dir/a.txt").
std::string nameOf(std::string_view path);
// The name in the folder, with one '/' between them; the name alone in "" (the current folder).
std::string joined(std::string_view folder, std::string_view name);
// The path without the '/' after its last part ("dir" for "dir//"); "/" stays.
std::string withoutTrailingSlashes(std::string path);
