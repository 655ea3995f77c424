// Standard input as a test gives it: its pieces one read at a time, then its end, or an interrupt.
#pragma once

#include "standard_input.h"

#include <algorithm>
#include <string>
#include <vector>

class ScriptedInput : public StandardInput {
public:
    explicit ScriptedInput(std::vector<std::string> pieces, bool interrupted = false)
        : pieces_(std::move(pieces)), interrupted_(interrupted) {}

    std::size_t pieceSize() const override { return 64 * 1024; }
    std::size_t read(char *into, std::size_t size) override {
        if (next_ == pieces_.size()) {
            if (interrupted_) throw InputInterrupted{};
            return 0;
        }
        const std::string &piece = pieces_[next_++];
        const std::size_t count = std::min(size, piece.size());
        std::copy(piece.data(), piece.data() + count, into);
        return count;
    }

private:
    std::vector<std::string> pieces_;
    bool interrupted_;
    std::size_t next_ = 0;
};
