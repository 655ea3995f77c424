// The two rules that turn tabs into spaces: tab stops every N columns (`replaceFixed`, one line at a
// time) and a fixed run of spaces per tab (`howManySpaces`, a whole text at once).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The line with each tab replaced by the spaces that reach the next stop of width tabLen. Columns
// count from 1 at the start of the line and again after each lone line feed in it. A line without
// tabs comes back unchanged for any width; otherwise a width of 0 fails with 11 and a negative one
// with 5.
std::string replaceFixed(std::string_view lineRead, int16_t tabLen);

// The run of spaces the fixed-number rule puts in place of one tab: 1 to 16 as given, otherwise 8.
std::size_t spacesPerTab(int16_t numberOfSpaces);

// Replaces every tab of text by the run of spaces for numberOfSpaces.
void howManySpaces(std::string &text, int16_t numberOfSpaces);

class OutBuffer;

// Writes [data, data + size) to buffer with every tab replaced by runLength spaces.
void writeFixedSpaces(const char *data, std::size_t size, std::size_t runLength, OutBuffer &buffer);
