// Searching a folder for a pattern, as the folder's work list needs it.
#pragma once

#include <functional>
#include <string>

// Hands the name of every ordinary file (no folders, no hidden or system files) that matches the
// search string (folder and pattern) to found, in the order the system yields them. A folder that
// is not there yields nothing; other failures raise, after the names found so far.
void forEachOrdinaryFile(const std::string &search, const std::function<void(const std::string &)> &found);
