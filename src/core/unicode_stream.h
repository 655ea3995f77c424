// The block-at-a-time converters for UTF-8 and UTF-16 text: the same line reading and rules as for
// ANSI text (text_stream.h), with tab stops counted in display columns and the file's bytes, BOM
// and byte order kept. Memory stays constant whatever the text's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text_encoding.h"

// Tab stops over UTF-8: a character takes its display columns (display_width.h), a byte that is not
// part of a well-formed sequence one column. A BOM is written as it is and counts no column. A
// sequence may be split between blocks anywhere.
class Utf8TabStopConverter {
public:
    Utf8TabStopConverter(int16_t width, bool withBom);

    // The block converted: valid until the next call.
    std::string_view convert(const char *data, std::size_t size);
    void feed(const char *data, std::size_t size, std::string &out) { out.append(convert(data, size)); }
    void finish(std::string &out);

private:
    struct Writer;
    const char *completePending(const char *p, const char *end, Writer &writer);

    static constexpr std::size_t shortRuns = 128;

    std::string scratch_;
    int16_t width_;
    unsigned bomLeft_;
    std::uint16_t runs_[shortRuns]; // a tab's run at the columns below shortRuns; 0 when not known
    std::size_t column_ = 0;        // display columns since the line's start or its last tab stop
    bool lineOpen_ = false;
    bool pendingCr_ = false;
    bool textEnded_ = false;
    unsigned char pending_[4] = {}; // a sequence cut by the block's end
    unsigned pendingSize_ = 0;
};

// Both rules over UTF-16 text of either byte order, by code units: tab, CR, LF and U+001A are the
// code units of those values, spaces and line ends are written as code units of the same order, and
// the BOM is kept. A surrogate pair takes its character's columns, an unpaired surrogate one column.
class Utf16Converter {
public:
    enum class Rule : std::uint8_t { TabStops, FixedSpaces };

    // For tab stops `number` is the width, for the fixed rule the number of spaces.
    Utf16Converter(Rule rule, int16_t number, bool bigEndian);

    // The block converted: valid until the next call.
    std::string_view convert(const char *data, std::size_t size);
    void feed(const char *data, std::size_t size, std::string &out) { out.append(convert(data, size)); }
    void finish(std::string &out);

private:
    void unit(char16_t u, char *&o);
    void put(char *&o, char16_t u) const;

    std::string scratch_;
    Rule rule_;
    int16_t width_;
    std::size_t run_;
    bool bigEndian_;
    bool atStart_ = true;
    std::size_t column_ = 0;
    bool lineOpen_ = false;
    bool pendingCr_ = false;
    bool pendingHigh_ = false;
    char16_t prevHigh_ = 0;
    bool textEnded_ = false;
    bool hasOddByte_ = false;
    char oddByte_ = 0;
};
