// Converting a text a block at a time, so a file of any size goes through in constant memory and
// comes out byte for byte as if it had been read and converted whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Line-by-line reading and the tab-stop rule: a line ends at CR or CR LF (a lone LF stays in the
// line), a byte 0x1A ends the readable text, a last line without terminator is still a line, and
// every line is written followed by CR LF. Blocks may split a line or a CR LF pair anywhere.
// When the width is 0 or negative, the first tab of the readable text throws (11 or 5).
class TabStopConverter {
public:
    explicit TabStopConverter(int16_t width) : width_(width) {}

    // The block converted: valid until the next call.
    std::string_view convert(const char *data, std::size_t size);
    void feed(const char *data, std::size_t size, std::string &out) { out.append(convert(data, size)); }
    void finish(std::string &out);

private:
    std::string scratch_;
    int16_t width_;
    std::size_t column_ = 0; // column (0-based, modulo the width) where this block starts
    bool lineOpen_ = false;  // bytes of a line seen since its last terminator
    bool pendingCr_ = false; // the last block ended in CR: an LF starting the next belongs to it
    bool textEnded_ = false; // 0x1A seen: the rest is not read
};

// The fixed-number rule over a whole text: every tab becomes the same run of spaces, and the text is
// written with one CR LF added at its end.
class FixedSpacesConverter {
public:
    explicit FixedSpacesConverter(int16_t numberOfSpaces);

    // The block converted: valid until the next call.
    std::string_view convert(const char *data, std::size_t size);
    void feed(const char *data, std::size_t size, std::string &out) { out.append(convert(data, size)); }
    void finish(std::string &out);

private:
    std::string scratch_;
    std::size_t run_;
};

// The whole-text read of a file of known length: it fails with 62 when the text ends early, that is
// when a byte 0x1A stands before the file's last byte. Fed the file's blocks in order.
class WholeReadCheck {
public:
    explicit WholeReadCheck(std::uint64_t fileLength) : fileLength_(fileLength) {}

    void feed(const char *data, std::size_t size);

private:
    std::uint64_t fileLength_;
    std::uint64_t offset_ = 0;
};
