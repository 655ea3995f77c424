// The encoding of a text file, told from its bytes while the verification pass reads them, and the
// checks that a file is readable text in that encoding.
//
// - FF FE or FE FF first: UTF-16 little- or big-endian (the BOM). The file must hold whole code
//   units, pair its surrogates and have no U+001A before its last code unit.
// - EF BB BF first: UTF-8 with a BOM, whatever follows (invalid bytes are kept as they are).
// - Otherwise UTF-8 when the whole file is valid UTF-8 with at least one multi-byte sequence, and
//   ANSI text (a byte is a character) in every other case: ASCII, or any invalid UTF-8.
// Text that is not UTF-16 fails as it always has when a byte 0x1A stands before its last byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

enum class TextEncoding : std::uint8_t { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

inline bool isUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

namespace utf8 {

enum class Step : std::uint8_t { Complete, Invalid, Incomplete };

// The sequence at p (a byte of 0x80 or more) among the bytes up to end: complete and well formed
// (length and code point set), ill formed, or cut short by end with every byte so far allowed.
Step sequence(const unsigned char *p, const unsigned char *end, unsigned &length, char32_t &codePoint);

} // namespace utf8

// The whole-text read of a file of known length: it fails with 62 when the text ends early, that is
// when a byte 0x1A stands before the file's last byte. Fed the file's blocks in order.
class WholeReadCheck {
public:
    explicit WholeReadCheck(std::uint64_t fileLength) : fileLength_(fileLength) {}

    void feed(const char *data, std::size_t size);

    // For a caller that looks at the bytes itself: moves past the next `size` bytes and returns how
    // many of them, from the first, may not hold a 0x1A.
    std::size_t take(std::size_t size);

private:
    std::uint64_t fileLength_;
    std::uint64_t offset_ = 0;
};

// The code-unit checks of a UTF-16 text of known length, fed its bytes in order (BOM included):
// an odd length, an unpaired surrogate or a U+001A before the last code unit fails with 62, as a
// text that ends early does.
class Utf16TextCheck {
public:
    Utf16TextCheck(std::uint64_t fileLength, bool bigEndian);

    void feed(const char *data, std::size_t size);
    void finish();

private:
    void unit(char16_t u);

    std::uint64_t lastUnit_; // index of the last code unit
    std::uint64_t unitIndex_ = 0;
    bool bigEndian_;
    bool hasOddByte_ = false;
    unsigned char oddByte_ = 0;
    bool pendingHigh_ = false; // a high surrogate waits for its low half
};

// Fed a file's blocks in order; finish() names the encoding. Throws 62 (as above) when the file is
// not readable text.
class EncodingDetector {
public:
    explicit EncodingDetector(std::uint64_t fileLength) : fileLength_(fileLength), bytesCheck_(fileLength) {}

    void feed(const char *data, std::size_t size);
    TextEncoding finish();

private:
    enum class Mode : std::uint8_t { Undecided, Bytes, Utf8Bom, Utf16 };

    void decide(bool atEnd);
    void feedDecided(const char *data, std::size_t size);
    void feedBytes(const char *data, std::size_t size);
    const char *validateUtf8(const char *p, const char *end, const char *markLimit);

    std::uint64_t fileLength_;
    Mode mode_ = Mode::Undecided;
    TextEncoding utf16_ = TextEncoding::Utf16Le;
    char head_[3] = {};
    std::size_t headSize_ = 0;
    WholeReadCheck bytesCheck_;
    std::optional<Utf16TextCheck> utf16Check_;
    // UTF-8 validation of a text without BOM: stops at the first fault.
    bool utf8Valid_ = true;
    bool multiByteSeen_ = false;
    unsigned char partial_[4] = {};
    unsigned partialSize_ = 0;
};
