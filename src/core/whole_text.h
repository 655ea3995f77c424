// The text conventions applied to a text held whole in memory: the clipboard jobs use them, and they
// are the plain statement of what the block-at-a-time converters must produce.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lines that line-by-line reading finds: CR or CR LF ends a line, a lone LF belongs to the line,
// 0x1A ends the readable text, a last line without terminator counts, an empty text has none.
std::vector<std::string_view> splitLines(std::string_view text);

// Each line through replaceFixed, written followed by CR LF.
std::string expandTabStopsWhole(std::string_view text, int16_t width);

// The text through howManySpaces, written followed by one CR LF.
std::string fixedSpacesWhole(std::string_view text, int16_t numberOfSpaces);

// Throws 62 when the text, read whole, would end early at a 0x1A before its last byte.
void wholeReadCheck(std::string_view text);
