#include "spooled_input.h"

#include "app_error.h"
#include "own_files.h"
#include "text_files.h"
#include "win_error.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t blockSize = SpooledInput::filePieceBytes;

bool isConsoleInput(HANDLE input) {
    DWORD mode = 0;
    return GetConsoleMode(input, &mode) != 0;
}

// ReadFile. From Windows 8 a console read that Ctrl+C interrupts succeeds with no bytes and leaves
// ERROR_OPERATION_ABORTED as the last error: told apart here from the end that Ctrl+Z gives, which leaves no
// error.
SpooledInput::Reader systemReader(HANDLE input) {
    return [input](char *into, DWORD size, DWORD &got, DWORD &error) {
        SetLastError(ERROR_SUCCESS);
        if (!ReadFile(input, into, size, &got, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (got == 0 && GetLastError() == ERROR_OPERATION_ABORTED) {
            error = ERROR_OPERATION_ABORTED;
            return false;
        }
        return true;
    };
}

} // namespace

SpooledInput::SpooledInput(HANDLE input, std::size_t memoryLimit, const std::string &spillFolder)
    : SpooledInput(systemReader(input), isConsoleInput(input) ? consolePieceBytes : filePieceBytes,
                   memoryLimit, spillFolder) {}

SpooledInput::SpooledInput(const Reader &read, std::size_t pieceSize, std::size_t memoryLimit,
                           const std::string &spillFolder) {
    std::vector<char> block(pieceSize);
    for (;;) {
        DWORD got = 0, error = 0;
        if (!read(block.data(), static_cast<DWORD>(pieceSize), got, error)) {
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) break;
            if (error == ERROR_OPERATION_ABORTED) throw InputInterrupted{};
            raiseWin32(error);
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
