// Appending converted text to a std::string without a capacity check per character: the converters
// ask for room once per piece and write through a plain pointer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "byte_scan.h"

class OutBuffer {
public:
    // Writes after the current end of text; the text is cut back to what was written when the
    // buffer goes away, also when a conversion throws part-way.
    explicit OutBuffer(std::string &text) : OutBuffer(text, text.size(), true) {}

    // Writes over scratch from its start and leaves its size alone: scratch space reused for
    // every block is filled with zeros only when it grows. written() tells how much is output.
    static OutBuffer overwriting(std::string &scratch) { return OutBuffer(scratch, 0, false); }

    ~OutBuffer() {
        if (trimAtEnd_) text_.resize(used_);
    }
    OutBuffer(const OutBuffer &) = delete;
    OutBuffer &operator=(const OutBuffer &) = delete;

    std::size_t written() const { return used_; }

    // The write position, for code that writes through a pointer between ensure() calls.
    char *cursor() { return text_.data() + used_; }
    std::size_t offsetOf(const char *at) const { return static_cast<std::size_t>(at - text_.data()); }

    // Makes room for n bytes at `at` (moving `at` when the text grows) and takes everything before
    // `at` as written.
    void ensure(char *&at, std::size_t n) {
        used_ = offsetOf(at);
        at = room(n);
    }

    void commit(char *at) { used_ = offsetOf(at); }

    // The last position from which n bytes can be written without another ensure().
    const char *lastStartFor(std::size_t n) const { return text_.data() + (text_.size() - n); }

    void append(const char *p, std::size_t n) {
        std::memcpy(room(n), p, n);
        used_ += n;
    }

    void append(char c) {
        *room(1) = c;
        ++used_;
    }

    void spaces(std::size_t count) {
        char *at = cursor();
        writeSpaces(at, count);
        used_ = offsetOf(at);
    }

    // Writes count spaces at `at` and moves it past them. Short runs, the usual case, are one
    // fixed-size store; the bytes past the run are overwritten by whatever comes next.
    void writeSpaces(char *&at, std::size_t count) {
        ensure(at, std::max<std::size_t>(count, 16));
        if (count <= 16)
            scan::storeSpaces16(at);
        else
            std::memset(at, ' ', count);
        at += count;
    }

private:
    OutBuffer(std::string &text, std::size_t used, bool trimAtEnd)
        : text_(text), used_(used), trimAtEnd_(trimAtEnd) {}

    char *room(std::size_t n) {
        // A text cleared between blocks keeps its capacity: taking all of it at once fills it
        // with zeros once per block instead of at every doubling.
        if (text_.size() - used_ < n)
            text_.resize(std::max({used_ + n, text_.size() * 2 + 256, text_.capacity()}));
        return text_.data() + used_;
    }

    std::string &text_;
    std::size_t used_;
    bool trimAtEnd_;
};
