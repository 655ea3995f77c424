// The destination folder picker's proof that a file can be made in a folder.
#pragma once

#include <string>

// Makes "test.txt" in the folder (given with its trailing backslash) and removes it again. A
// "test.txt" already there is never opened, changed or removed: a file of a fresh name is made
// instead. True only when the system refuses with the program's error 75 (access denied).
bool folderDeniesWriting(const std::string &folder) noexcept;
