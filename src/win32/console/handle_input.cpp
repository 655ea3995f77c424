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

// The file that standard input is redirected from, opened again with a position of its own and with
// writing denied to others, as a named source is read. It may still be replaced while it is held:
// quillmerec -o FILE < FILE puts the conversion in its place.
class RedirectedFile : public InputFileInPlace {
public:
    RedirectedFile(FileHandle file, std::uint64_t start, std::uint64_t size)
        : file_(std::move(file)), start_(start), size_(size) {}

    std::uint64_t size() const override { return size_; }
    void replay(const std::function<void(const char *, std::size_t)> &sink) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(start_);
        if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) raiseLastError();
        readBlocksFrom(file_, start_, start_ + size_, sink);
    }

private:
    FileHandle file_;
    std::uint64_t start_;
    std::uint64_t size_;
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

// Where the file cannot be opened again so (another program writes it), it is read as any input.
std::unique_ptr<InputFileInPlace> HandleInput::fileInPlace(std::uint64_t largerThan) {
    if (console_ || GetFileType(handle_) != FILE_TYPE_DISK) return nullptr;
    LARGE_INTEGER start{}, end{};
    if (!SetFilePointerEx(handle_, LARGE_INTEGER{}, &start, FILE_CURRENT) || !GetFileSizeEx(handle_, &end) ||
        end.QuadPart <= start.QuadPart ||
        static_cast<std::uint64_t>(end.QuadPart - start.QuadPart) <= largerThan)
        return nullptr;
    FileHandle again(
        ReOpenFile(handle_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, FILE_FLAG_SEQUENTIAL_SCAN));
    if (!again.valid() || !SetFilePointerEx(handle_, end, nullptr, FILE_BEGIN)) return nullptr;
    return std::make_unique<RedirectedFile>(std::move(again), static_cast<std::uint64_t>(start.QuadPart),
                                            static_cast<std::uint64_t>(end.QuadPart - start.QuadPart));
}

std::unique_ptr<SpillFile> TemporarySpillFiles::create() {
    return std::make_unique<TemporarySpillFile>(createSpillFile(folder_));
}
