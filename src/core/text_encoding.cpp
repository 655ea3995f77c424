#include "text_encoding.h"

#include <cstring>

#include "app_error.h"
#include "byte_scan.h"

namespace utf8 {

namespace {

// The bytes a sequence led by `lead` takes, or 0 when no well-formed sequence starts with it.
unsigned lengthFromLead(unsigned char lead) {
    if (lead < 0xC2) return 0; // a continuation byte, or the start of an overlong two-byte form
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return lead < 0xF5 ? 4 : 0;
}

// Whether b may follow at position `at` (1 to 3) of a sequence led by `lead`: the second byte's
// range shuts out overlong forms, surrogates and code points past U+10FFFF.
bool continues(unsigned char lead, unsigned at, unsigned char b) {
    if (at == 1) {
        switch (lead) {
        case 0xE0: return b >= 0xA0 && b <= 0xBF;
        case 0xED: return b >= 0x80 && b <= 0x9F;
        case 0xF0: return b >= 0x90 && b <= 0xBF;
        case 0xF4: return b >= 0x80 && b <= 0x8F;
        default: break;
        }
    }
    return (b & 0xC0) == 0x80;
}

} // namespace

Step sequence(const unsigned char *p, const unsigned char *end, unsigned &length, char32_t &codePoint) {
    const unsigned char lead = *p;
    const unsigned n = lengthFromLead(lead);
    if (n == 0) return Step::Invalid;
    char32_t cp = lead & (0x7F >> n);
    for (unsigned at = 1; at < n; ++at) {
        if (p + at == end) return Step::Incomplete;
        if (!continues(lead, at, p[at])) return Step::Invalid;
        cp = (cp << 6) | (p[at] & 0x3F);
    }
    length = n;
    codePoint = cp;
    return Step::Complete;
}

} // namespace utf8

Utf16TextCheck::Utf16TextCheck(std::uint64_t fileLength, bool bigEndian)
    : lastUnit_(fileLength / 2 == 0 ? 0 : fileLength / 2 - 1), bigEndian_(bigEndian) {
    if (fileLength % 2 != 0) raiseError(err::InputPastEnd);
}

void Utf16TextCheck::unit(char16_t u) {
    const bool low = u >= 0xDC00 && u <= 0xDFFF;
    if (pendingHigh_ != low)
        raiseError(err::InputPastEnd); // a high half without its low one, or a low one alone
    pendingHigh_ = u >= 0xD800 && u <= 0xDBFF;
    if (u == 0x1A && unitIndex_ < lastUnit_) raiseError(err::InputPastEnd);
    ++unitIndex_;
}

void Utf16TextCheck::feed(const char *data, std::size_t size) {
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    const unsigned hi = bigEndian_ ? 0 : 1;
    if (hasOddByte_ && p != end) {
        const unsigned char pair[2] = {oddByte_, *p++};
        unit(static_cast<char16_t>(pair[hi] << 8 | pair[1 - hi]));
        hasOddByte_ = false;
    }
    for (; end - p >= 2; p += 2) unit(static_cast<char16_t>(p[hi] << 8 | p[1 - hi]));
    if (p != end) {
        oddByte_ = *p;
        hasOddByte_ = true;
    }
}

void Utf16TextCheck::finish() {
    if (pendingHigh_ || hasOddByte_) raiseError(err::InputPastEnd);
}

void EncodingDetector::feed(const char *data, std::size_t size) {
    if (mode_ == Mode::Undecided) {
        while (size != 0 && headSize_ < sizeof head_) {
            head_[headSize_++] = *data++;
            --size;
        }
        decide(false);
        if (mode_ == Mode::Undecided) return;
    }
    feedDecided(data, size);
}

// The BOM decides from the first bytes; a file too short for one is plain bytes.
void EncodingDetector::decide(bool atEnd) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head_[i]); };
    const bool mayBeUtf8Bom = (headSize_ < 1 || byte(0) == 0xEF) && (headSize_ < 2 || byte(1) == 0xBB);
    if (headSize_ >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        const bool bigEndian = byte(0) == 0xFE;
        utf16_ = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        mode_ = Mode::Utf16;
        utf16Check_.emplace(fileLength_, bigEndian);
    } else if (headSize_ == 3 && mayBeUtf8Bom && byte(2) == 0xBF) {
        mode_ = Mode::Utf8Bom;
    } else if (headSize_ == 3 || atEnd || !(mayBeUtf8Bom || (headSize_ == 1 && (byte(0) >= 0xFE)))) {
        mode_ = Mode::Bytes;
    } else {
        return;
    }
    const std::size_t held = headSize_;
    headSize_ = 0;
    feedDecided(head_, held);
}

void EncodingDetector::feedDecided(const char *data, std::size_t size) {
    switch (mode_) {
    case Mode::Utf16: utf16Check_->feed(data, size); return;
    case Mode::Bytes: feedBytes(data, size); return;
    default: bytesCheck_.feed(data, size); return;
    }
}

// One pass looks for the end mark and validates UTF-8 until the text turns out not to be UTF-8; the
// rest of it is only searched for the mark.
void EncodingDetector::feedBytes(const char *data, std::size_t size) {
    const char *const markLimit = data + bytesCheck_.take(size); // a 0x1A before it fails
    const char *p = data;
    if (utf8Valid_) p = validateUtf8(data, data + size, markLimit);
    if (p < markLimit && scan::findFirstOf<scan::endOfTextMark>(p, markLimit) != markLimit)
        raiseError(err::InputPastEnd);
}

// Validates the bytes from p and fails at a 0x1A before markLimit. Returns end, or where the text
// turned out not to be UTF-8: the bytes from there on are not yet searched for the mark.
const char *EncodingDetector::validateUtf8(const char *p, const char *end, const char *markLimit) {
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    const auto *const uEnd = reinterpret_cast<const unsigned char *>(end);
    // A sequence cut by the previous block is completed first, from a copy.
    while (partialSize_ != 0 && u != uEnd) {
        partial_[partialSize_] = *u;
        unsigned length = 0;
        char32_t cp = 0;
        const utf8::Step step = utf8::sequence(partial_, partial_ + partialSize_ + 1, length, cp);
        if (step == utf8::Step::Invalid) {
            utf8Valid_ = false;
            return reinterpret_cast<const char *>(u);
        }
        ++partialSize_;
        ++u;
        if (step == utf8::Step::Complete) partialSize_ = 0;
    }
    for (;;) {
        u = reinterpret_cast<const unsigned char *>(
            scan::findHighOr<scan::endOfTextMark>(reinterpret_cast<const char *>(u), end));
        if (u == uEnd) return end;
        if (*u == scan::endOfTextMark) {
            if (reinterpret_cast<const char *>(u) < markLimit) raiseError(err::InputPastEnd);
            ++u;
            continue;
        }
        unsigned length = 0;
        char32_t cp = 0;
        const utf8::Step step = utf8::sequence(u, uEnd, length, cp);
        if (step == utf8::Step::Invalid) {
            utf8Valid_ = false;
            return reinterpret_cast<const char *>(u);
        }
        multiByteSeen_ = true;
        if (step == utf8::Step::Incomplete) { // bytes of 0x80 and up to the end: no mark among them
            partialSize_ = static_cast<unsigned>(uEnd - u);
            std::memcpy(partial_, u, partialSize_);
            return end;
        }
        u += length;
    }
}

TextEncoding EncodingDetector::finish() {
    if (mode_ == Mode::Undecided) decide(true);
    switch (mode_) {
    case Mode::Utf16: utf16Check_->finish(); return utf16_;
    case Mode::Utf8Bom: return TextEncoding::Utf8Bom;
    default:
        return utf8Valid_ && multiByteSeen_ && partialSize_ == 0 ? TextEncoding::Utf8 : TextEncoding::Ansi;
    }
}

void WholeReadCheck::feed(const char *data, std::size_t size) {
    const std::size_t span = take(size);
    if (scan::findFirstOf<scan::endOfTextMark>(data, data + span) != data + span)
        raiseError(err::InputPastEnd);
}

std::size_t WholeReadCheck::take(std::size_t size) {
    const std::uint64_t lastByte = fileLength_ == 0 ? 0 : fileLength_ - 1;
    const std::uint64_t before = offset_ < lastByte ? lastByte - offset_ : 0;
    offset_ += size;
    return before < size ? static_cast<std::size_t>(before) : size;
}
