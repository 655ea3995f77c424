// The user's own PATH (HKEY_CURRENT_USER\Environment\Path), changed by one folder at a time for the
// installer and the uninstaller, at any length: a folder goes on at the end or comes off, every other
// entry stays as it is, in its order and unexpanded (%USERPROFILE%\bin).
#pragma once

#include <string>

// The PATH text with the folder at its end, or as it is when the folder is on it already (compared
// without regard to case, to blanks around an entry or to a trailing backslash).
std::wstring pathWithFolder(const std::wstring &path, const std::wstring &folder);

// The PATH text without that folder, wherever and however often it stands; every other entry kept.
std::wstring pathWithoutFolder(const std::wstring &path, const std::wstring &folder);

enum class PathChange { Add, Remove };

// Reads the user's PATH whole, writes it back as REG_EXPAND_SZ when it changes (deleting the value
// when nothing is left of it) and tells the running programs (Explorer) of the new environment.
// False, with the Windows error set, when the value cannot be read or written.
bool changeUserPath(PathChange change, const std::wstring &folder);
