// The clipboard jobs apart from any window. The clipboard's text travels through the program's
// temporary file, so it meets the same file rules as a converted file.
#pragma once

#include "file_moves.h"

#include <cstdint>
#include <functional>
#include <string>

// Writes the clipboard's text in UTF-8 followed by CR LF into the temporary file (an empty text when
// the clipboard holds none). Text with half a surrogate pair fails with 62.
void storeClipboardText(const std::string &temporaryPath);

// The stored text line by line under tab stops, through the second temporary file; the text to put
// on the clipboard.
std::string tabStopClipboardText(const std::string &temporaryPath, const std::string &secondTemporaryPath,
                                 int16_t width, FileMoves &calls);

// The clipboard's text read afresh, stored, read back whole (writing denied, 62 on an early end)
// and given a fixed run of spaces per tab; the number of spaces is asked for after the read.
std::string fixedSpacesClipboardText(const std::string &temporaryPath,
                                     const std::function<int16_t()> &numberOfSpaces);
