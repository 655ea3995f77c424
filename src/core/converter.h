// One way to convert a text of any encoding a block at a time, with the modes a conversion can
// take: the window's two rules, and what a console program adds (stops from a list, leading tabs
// only, line ends kept as they are). Memory stays constant whatever the text's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tab_stops.h"
#include "text_encoding.h"

enum class TabRule : std::uint8_t {
    TabStops,    // a tab becomes the spaces up to the next stop
    FixedSpaces, // a tab becomes the same run of spaces wherever it stands
};

enum class LineEnds : std::uint8_t {
    // The window's text files. Under tab stops a line ends at CR or CR LF (a lone LF stays in its
    // line), a 0x1A ends the text, and every line is written followed by CR LF. Under a fixed run
    // the text is written whole, with one CR LF added at its end.
    Window,
    // Every byte other than a converted tab stays as it is and nothing is added. CR, LF and CR LF
    // each start a new line (and a new column count); a 0x1A is a character like any other.
    Kept,
};

struct ConversionMode {
    TabRule rule = TabRule::TabStops;
    TabStops stops = TabStops::every(8); // under TabRule::TabStops
    std::size_t spaces = 8;              // under TabRule::FixedSpaces: the run for every tab
    // Only the tabs among a line's leading blanks (spaces and tabs) change; a tab after the line's
    // first other character stays a tab.
    bool leadingOnly = false;
    LineEnds lineEnds = LineEnds::Window;

    // The window's rules: tab stops `width` apart (0 or less fails at the first tab, 11 or 5), and
    // the fixed number of spaces (1 to 16 as given, any other number 8).
    static ConversionMode windowTabStops(int16_t width);
    static ConversionMode windowFixedSpaces(int16_t numberOfSpaces);
};

// Converts a text fed in blocks that may split a line, a CR LF pair or a character anywhere; the
// output is byte for byte that of the whole text. A UTF-8 or UTF-16 byte-order mark is kept and
// takes no column; UTF-16 is converted by code units of the text's byte order.
class StreamConverter {
public:
    virtual ~StreamConverter() = default;

    // The block converted: valid until the next call.
    virtual std::string_view convert(const char *data, std::size_t size) = 0;
    // Appends what the text's end adds: bytes of a character cut by the end, a closing line end.
    virtual void finish(std::string &out) = 0;

    void feed(const char *data, std::size_t size, std::string &out) { out.append(convert(data, size)); }
};

// Tab stops count display columns: a byte in ANSI text; in UTF-8 and UTF-16 text a character's
// columns in a monospace editor (display_width.h), an ill-formed byte or unpaired surrogate one.
std::unique_ptr<StreamConverter> makeConverter(TextEncoding encoding, const ConversionMode &mode);
