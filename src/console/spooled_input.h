// Standard input read to its end and kept to be read again: its encoding is told from the whole text
// before any of it is converted. A file that the input is redirected from is read again where it is;
// other input has its first bytes held in memory, and what goes past the limit goes on into a spill
// file of the platform's, so that input of any size takes the same memory.
#pragma once

#include "standard_input.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class SpooledInput {
public:
    static constexpr std::size_t usualMemoryLimit = 8 * 1024 * 1024;

    // Reads the input to its end, in reads of the input's own piece size. Raises InputInterrupted when
    // an interrupt cut the input short, and the program's error when a read or the spill file fails.
    SpooledInput(StandardInput &input, std::size_t memoryLimit, SpillFiles &spillFiles);

    std::uint64_t size() const { return inPlace_ ? inPlace_->size() : held_.size() + spilledSize_; }
    // The input's bytes from the start, in blocks.
    void replay(const std::function<void(const char *, std::size_t)> &sink) const;

private:
    std::unique_ptr<InputFileInPlace> inPlace_;
    std::string held_;
    std::unique_ptr<SpillFile> spilled_;
    std::uint64_t spilledSize_ = 0;
};
