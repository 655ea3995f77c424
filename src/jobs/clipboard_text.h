// The clipboard jobs apart from any window. The clipboard's text travels through the program's
// temporary file, so it meets the same file rules as a converted file.
#pragma once

#include "file_system.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Writes the clipboard's text (as the window read it, in UTF-8) followed by CR LF into the temporary
// file; an empty text when the clipboard holds none.
void storeClipboardText(FileSystem &files, const std::string &temporaryPath,
                        const std::optional<std::string> &clipboard);

// The stored text line by line under tab stops, through the second temporary file; the text to put
// on the clipboard.
std::string tabStopClipboardText(const std::string &temporaryPath, const std::string &secondTemporaryPath,
                                 int16_t width, FileSystem &files);

// The clipboard's text, read afresh by the window, stored, read back whole (writing denied, 62 on an
// early end) and given a fixed run of spaces per tab; the number of spaces is asked for after the read.
std::string fixedSpacesClipboardText(FileSystem &files, const std::string &temporaryPath,
                                     const std::optional<std::string> &clipboard,
                                     const std::function<int16_t()> &numberOfSpaces);
