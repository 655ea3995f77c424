#include "engine/text_stream.h"

#include <cstring>

#include "engine/byte_scan.h"
#include "engine/line_rules.h"
#include "engine/out_buffer.h"

namespace {
constexpr char endOfTextMark = '\x1A';
}

void TabStopConverter::feed(const char *data, std::size_t size, std::string &out) {
    if (textEnded_)
        return;
    const char *p = data;
    const char *const end = data + size;
    if (pendingCr_ && p != end) {
        pendingCr_ = false;
        if (*p == '\n')
            ++p;
    }
    OutBuffer buffer(out);
    while (p != end) {
        const char *stop = scan::findFirstOf<'\t', '\n', '\r', endOfTextMark>(p, end);
        const auto length = static_cast<std::size_t>(stop - p);
        buffer.append(p, length);
        column_.advance(length);
        lineOpen_ = lineOpen_ || length != 0;
        if (stop == end)
            return;
        p = stop + 1;
        switch (*stop) {
        case '\t':
            buffer.spaces(column_.nextTab());
            lineOpen_ = true;
            break;
        case '\n':
            buffer.append('\n');
            column_.restart();
            lineOpen_ = true;
            break;
        case '\r':
            buffer.append("\r\n", 2);
            column_.restart();
            lineOpen_ = false;
            if (p == end)
                pendingCr_ = true;
            else if (*p == '\n')
                ++p;
            break;
        default: // the end-of-text mark
            textEnded_ = true;
            return;
        }
    }
}

void TabStopConverter::finish(std::string &out) {
    if (lineOpen_)
        out.append("\r\n", 2);
    lineOpen_ = false;
    pendingCr_ = false;
    textEnded_ = true;
}

FixedSpacesConverter::FixedSpacesConverter(int16_t numberOfSpaces) : run_(spacesPerTab(numberOfSpaces)) {}

void FixedSpacesConverter::feed(const char *data, std::size_t size, std::string &out) {
    appendFixedSpaces(data, size, run_, out);
}

void FixedSpacesConverter::finish(std::string &out) { out.append("\r\n", 2); }

void WholeReadCheck::feed(const char *data, std::size_t size) {
    const std::uint64_t lastByte = fileLength_ == 0 ? 0 : fileLength_ - 1;
    if (offset_ < lastByte) {
        const std::uint64_t before = lastByte - offset_;
        const std::size_t span = before < size ? static_cast<std::size_t>(before) : size;
        if (std::memchr(data, endOfTextMark, span) != nullptr)
            err::raise(err::InputPastEnd);
    }
    offset_ += size;
}
