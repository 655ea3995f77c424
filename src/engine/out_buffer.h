// Appending converted text to a std::string without a capacity check per character: the converters
// ask for room once per piece and write through a plain pointer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

class OutBuffer {
public:
    // Writes after the current end of text; the text is cut back to what was written when the
    // buffer goes away, also when a conversion throws part-way.
    explicit OutBuffer(std::string &text) : text_(text), used_(text.size()) {}
    ~OutBuffer() { text_.resize(used_); }
    OutBuffer(const OutBuffer &) = delete;
    OutBuffer &operator=(const OutBuffer &) = delete;

    void append(const char *p, std::size_t n) {
        std::memcpy(room(n), p, n);
        used_ += n;
    }

    void append(char c) {
        *room(1) = c;
        ++used_;
    }

    void spaces(std::size_t count) {
        // Short runs, the usual case, are one fixed-size store; the bytes past the run are
        // overwritten by whatever comes next.
        static constexpr char sixteen[] = "                ";
        if (count <= 16) {
            std::memcpy(room(16), sixteen, 16);
        } else {
            std::memset(room(count), ' ', count);
        }
        used_ += count;
    }

private:
    char *room(std::size_t n) {
        if (text_.size() - used_ < n)
            text_.resize(std::max(used_ + n, text_.size() * 2 + 256));
        return text_.data() + used_;
    }

    std::string &text_;
    std::size_t used_;
};
