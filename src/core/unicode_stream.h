// The window's rules over UTF-8 and UTF-16 text as converters of their own names, over the one
// converter core (converter.h): tab stops count display columns, and the file's bytes, BOM and byte
// order are kept.
#pragma once

#include <cstdint>

#include "text_stream.h"

// Tab stops over UTF-8: a character takes its display columns (display_width.h), a byte that is not
// part of a well-formed sequence one column. A BOM is written as it is and counts no column. A
// sequence may be split between blocks anywhere.
class Utf8TabStopConverter : public NamedConverter {
public:
    Utf8TabStopConverter(int16_t width, bool withBom)
        : NamedConverter(makeConverter(withBom ? TextEncoding::Utf8Bom : TextEncoding::Utf8,
                                       ConversionMode::windowTabStops(width))) {}
};

// Both rules over UTF-16 text of either byte order, by code units: tab, CR, LF and U+001A are the
// code units of those values, spaces and line ends are written as code units of the same order, and
// the BOM is kept. A surrogate pair takes its character's columns, an unpaired surrogate one column.
class Utf16Converter : public NamedConverter {
public:
    enum class Rule : std::uint8_t { TabStops, FixedSpaces };

    // For tab stops `number` is the width, for the fixed rule the number of spaces.
    Utf16Converter(Rule rule, int16_t number, bool bigEndian)
        : NamedConverter(makeConverter(bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le,
                                       rule == Rule::TabStops ? ConversionMode::windowTabStops(number)
                                                              : ConversionMode::windowFixedSpaces(number))) {}
};
