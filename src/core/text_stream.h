// The window's two rules as converters of their own names, over the one converter core
// (converter.h): ConversionMode::windowTabStops and windowFixedSpaces of ANSI text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "converter.h"

// A converter made once and used through its block calls.
class NamedConverter {
public:
    // The block converted: valid until the next call.
    std::string_view convert(const char *data, std::size_t size) { return core_->convert(data, size); }
    void feed(const char *data, std::size_t size, std::string &out) { core_->feed(data, size, out); }
    void finish(std::string &out) { core_->finish(out); }

protected:
    explicit NamedConverter(std::unique_ptr<StreamConverter> core) : core_(std::move(core)) {}

private:
    std::unique_ptr<StreamConverter> core_;
};

// Line-by-line reading and the tab-stop rule: a line ends at CR or CR LF (a lone LF stays in the
// line), a byte 0x1A ends the readable text, a last line without terminator is still a line, and
// every line is written followed by CR LF. Blocks may split a line or a CR LF pair anywhere.
// When the width is 0 or negative, the first tab of the readable text throws (11 or 5).
class TabStopConverter : public NamedConverter {
public:
    explicit TabStopConverter(int16_t width)
        : NamedConverter(makeConverter(TextEncoding::Ansi, ConversionMode::windowTabStops(width))) {}
};

// The fixed-number rule over a whole text: every tab becomes the same run of spaces, and the text is
// written with one CR LF added at its end.
class FixedSpacesConverter : public NamedConverter {
public:
    explicit FixedSpacesConverter(int16_t numberOfSpaces)
        : NamedConverter(
              makeConverter(TextEncoding::Ansi, ConversionMode::windowFixedSpaces(numberOfSpaces))) {}
};
