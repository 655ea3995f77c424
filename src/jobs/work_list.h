// The work list of a folder run, apart from any window: the files of one extension in a folder, and
// the extensions the filter offers, read from their file.
#pragma once

#include "file_system.h"

#include <functional>
#include <string>
#include <vector>

// Hands the full path of each ordinary file of `folder` (which ends in a backslash) whose own
// extension is `extension` to `found`, in the order the system yields them. The system's search also
// matches 8.3 short names ("*.htm" finds "page.html"); those are left out. An extension with
// wildcards is left to the search. Fails as the search does, after the files found so far.
void forEachFileOfExtension(FileSystem &files, const std::string &folder, const std::string &extension,
                            const std::function<void(const std::string &)> &found);

// The extensions the text of a file of extensions offers, one a line in its order: blank lines and
// lines that no file name could end in (longer than 255 characters, or holding \ / : * ?) are skipped.
std::vector<std::string> extensionsFromText(const std::string &text);
