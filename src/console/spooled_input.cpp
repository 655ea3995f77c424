#include "spooled_input.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t blockSize = 1024 * 1024;

} // namespace

SpooledInput::SpooledInput(StandardInput &input, std::size_t memoryLimit, SpillFiles &spillFiles)
    : inPlace_(input.fileInPlace(memoryLimit)) {
    if (inPlace_) return;
    const std::size_t pieceSize = input.pieceSize();
    std::vector<char> block(pieceSize);
    for (;;) {
        const std::size_t got = input.read(block.data(), pieceSize);
        if (got == 0) break;
        const std::size_t kept = spilled_ ? 0 : std::min(got, memoryLimit - held_.size());
        held_.append(block.data(), kept);
        if (kept == got) continue;
        if (!spilled_) spilled_ = spillFiles.create();
        spilled_->write(std::string_view(block.data() + kept, got - kept));
        spilledSize_ += got - kept;
    }
}

void SpooledInput::replay(const std::function<void(const char *, std::size_t)> &sink) const {
    if (inPlace_) {
        inPlace_->replay(sink);
        return;
    }
    for (std::size_t at = 0; at < held_.size(); at += blockSize)
        sink(held_.data() + at, std::min(blockSize, held_.size() - at));
    if (spilled_) spilled_->replay(sink);
}
