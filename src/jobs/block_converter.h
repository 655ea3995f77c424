// What the file streams need of a converter: blocks in, converted blocks out, and the end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class StreamConverter {
public:
    virtual ~StreamConverter() = default;
    // The block converted: valid until the next call.
    virtual std::string_view convert(const char *data, std::size_t size) = 0;
    virtual void finish(std::string &out) = 0;
};
