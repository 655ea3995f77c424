#include "console/handle_input.h"

#include "app_error.h"
#include "own_files.h"
#include "text_files.h"
#include "win_error.h"

#include <algorithm>

namespace {

bool isConsoleInput(HANDLE input) {
    DWORD mode = 0;
    return GetConsoleMode(input, &mode) != 0;
}

class TemporarySpillFile : public SpillFile {
public:
    explicit TemporarySpillFile(FileHandle file) : file_(std::move(file)) {}

    void write(std::string_view bytes) override {
        writeAll(file_, bytes);
        size_ += bytes.size();
    }

    void replay(const std::function<void(const char *, std::size_t)> &sink) override {
        if (!SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) raiseLastError();
        readBlocks(file_, size_, sink);
    }

private:
    FileHandle file_;
    std::uint64_t size_ = 0;
};

} // namespace

HandleInput::HandleInput(HANDLE handle) : HandleInput(handle, isConsoleInput(handle)) {}

bool HandleInput::readPiece(char *into, DWORD size, DWORD &got, DWORD &error) {
    SetLastError(ERROR_SUCCESS);
    if (!ReadFile(handle_, into, size, &got, nullptr)) {
        error = GetLastError();
        return false;
    }
    if (got == 0 && GetLastError() == ERROR_OPERATION_ABORTED) {
        error = ERROR_OPERATION_ABORTED;
        return false;
    }
    return true;
}

std::size_t HandleInput::read(char *into, std::size_t size) {
    DWORD got = 0, error = 0;
    const auto piece = static_cast<DWORD>(std::min(size, pieceSize()));
    if (readPiece(into, piece, got, error)) return got;
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
    if (error == ERROR_OPERATION_ABORTED) throw InputInterrupted{};
    raiseWin32(error);
}

std::unique_ptr<SpillFile> TemporarySpillFiles::create() {
    return std::make_unique<TemporarySpillFile>(createSpillFile(folder_));
}
