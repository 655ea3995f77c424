#include "spooled_input.h"

#include "app_error.h"
#include "own_files.h"
#include "text_files.h"
#include "win_error.h"

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD blockSize = 1024 * 1024;

} // namespace

SpooledInput::SpooledInput(HANDLE input, std::size_t memoryLimit, const std::string &spillFolder) {
    std::vector<char> block(blockSize);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, block.data(), blockSize, &got, nullptr)) {
            const DWORD code = GetLastError();
            if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) break;
            raiseWin32(code);
        }
        if (got == 0) break;
        const std::size_t kept =
            spilled_.valid() ? 0 : std::min<std::size_t>(got, memoryLimit - held_.size());
        held_.append(block.data(), kept);
        if (kept < got) spill(block.data() + kept, got - kept, spillFolder);
    }
}

void SpooledInput::spill(const char *data, std::size_t size, const std::string &spillFolder) {
    if (!spilled_.valid()) spilled_ = createSpillFile(spillFolder);
    writeAll(spilled_, std::string_view(data, size));
    spilledSize_ += size;
}

void SpooledInput::replay(const std::function<void(const char *, std::size_t)> &sink) const {
    for (std::size_t at = 0; at < held_.size(); at += blockSize)
        sink(held_.data() + at, std::min<std::size_t>(blockSize, held_.size() - at));
    if (!spilled_.valid()) return;
    if (!SetFilePointerEx(spilled_.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) raiseLastError();
    readBlocks(spilled_, spilledSize_, sink);
}
