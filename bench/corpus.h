// Generated benchmark inputs: source-like text with tab indentation and mid-line tabs, CR LF line
// ends; and one long line with a tab every few characters. Deterministic, so runs compare.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corpus {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }

private:
    std::uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    std::uint64_t state_;
};

inline void appendWord(std::string &text, Random &random) {
    static constexpr char letters[] = "etaoinshrdlucmfwypvbgkqjxz_0123456789";
    const std::uint32_t length = 1 + random.below(9);
    for (std::uint32_t i = 0; i < length; ++i) text += letters[random.below(sizeof letters - 1)];
}

// About `bytes` of code-like lines: 0 to 5 tabs of indent, a statement of a few words, now and then
// a tab-aligned trailing comment, now and then an empty line.
inline std::string sourceLike(std::size_t bytes) {
    Random random(0x51f15eedULL);
    std::string text;
    text.reserve(bytes + 256);
    while (text.size() < bytes) {
        if (random.below(10) == 0) {
            text += "\r\n";
            continue;
        }
        text.append(random.below(6), '\t');
        const std::uint32_t words = 1 + random.below(6);
        for (std::uint32_t w = 0; w < words; ++w) {
            appendWord(text, random);
            text += w + 1 < words ? " " : ";";
        }
        if (random.below(3) == 0) {
            text.append(1 + random.below(3), '\t');
            text += "// ";
            appendWord(text, random);
        }
        text += "\r\n";
    }
    return text;
}

// One line of about `bytes` with a tab after every 1 to 7 characters, ended by CR LF.
inline std::string denseTabLine(std::size_t bytes) {
    Random random(0x7ab5ULL);
    std::string text;
    text.reserve(bytes + 16);
    while (text.size() < bytes) {
        const std::uint32_t length = 1 + random.below(7);
        for (std::uint32_t i = 0; i < length; ++i) text += static_cast<char>('a' + random.below(26));
        text += '\t';
    }
    text += "\r\n";
    return text;
}

// The text with a non-ASCII word (accented Latin, Cyrillic, Japanese, German) added at the end of
// every third line, before its CR LF.
inline std::string withNonAsciiWords(const std::string &ascii) {
    static const char *const words[] = {" caf\xC3\xA9", " \xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB",
                                        " \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                                        " Gr\xC3\xBC\xC3\x9F"
                                        "e"};
    std::string mixed;
    mixed.reserve(ascii.size() + ascii.size() / 8);
    std::size_t line = 0;
    for (std::size_t at = 0; at < ascii.size();) {
        std::size_t end = ascii.find("\r\n", at);
        end = end == std::string::npos ? ascii.size() : end;
        mixed.append(ascii, at, end - at);
        if (++line % 3 == 0) mixed += words[line % 4];
        mixed += "\r\n";
        at = end + 2;
    }
    return mixed;
}

} // namespace corpus
