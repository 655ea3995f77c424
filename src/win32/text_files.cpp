#include "text_files.h"

#include "wide_text.h"
#include "win_error.h"
#include <algorithm>
#include <optional>
#include <vector>

namespace {

FileHandle openOrRaise(const std::string &path, DWORD access, DWORD share, DWORD disposition,
                       DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    FileHandle file(CreateFileW(widePath(path).c_str(), access, share, nullptr, disposition, flags, nullptr));
    if (!file.valid()) raiseLastError();
    return file;
}

} // namespace

void writeAll(const FileHandle &file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) raiseLastError();
        if (written == 0) raiseError(err::DiskFull);
        bytes.remove_prefix(written);
    }
}

FileHandle openForReading(const std::string &path, ShareWrite share) {
    const DWORD mode = share == ShareWrite::Denied ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    // Read from start to end: the system reads ahead of the program while it converts a block.
    return openOrRaise(path, GENERIC_READ, mode, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
}

std::uint64_t fileLength(const FileHandle &file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) raiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

namespace {

// Reads are large and sequential: a file up to this size is one read into a block sized to it,
// a larger one is read in blocks of this size.
constexpr DWORD largestBlock = 1024 * 1024;

std::uint64_t currentPosition(const FileHandle &file) {
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(file.get(), zero, &position, FILE_CURRENT)) raiseLastError();
    return static_cast<std::uint64_t>(position.QuadPart);
}

// Reads exactly `size` bytes or finds the file shorter: the text ends early (62).
DWORD readSome(HANDLE file, char *into, DWORD size) {
    DWORD got = 0;
    if (!ReadFile(file, into, size, &got, nullptr)) raiseLastError();
    if (got != size) raiseError(err::InputPastEnd);
    return got;
}

} // namespace

void readBlocksFrom(const FileHandle &file, std::uint64_t start, std::uint64_t end,
                    const std::function<void(const char *, std::size_t)> &sink) {
    const std::uint64_t left = end > start ? end - start : 0;
    std::vector<char> block(static_cast<std::size_t>(std::min<std::uint64_t>(left, largestBlock)));
    for (std::uint64_t done = 0; done < left;) {
        const auto want = static_cast<DWORD>(std::min<std::uint64_t>(left - done, largestBlock));
        sink(block.data(), readSome(file.get(), block.data(), want));
        done += want;
    }
}

void readBlocks(const FileHandle &file, const std::function<void(const char *, std::size_t)> &sink) {
    const std::uint64_t length = fileLength(file);
    readBlocksFrom(file, currentPosition(file), length, sink);
}

void readBlocks(const FileHandle &file, std::uint64_t length,
                const std::function<void(const char *, std::size_t)> &sink) {
    readBlocksFrom(file, 0, length, sink);
}

std::string readWholeFile(const std::string &path, ShareWrite share) {
    const FileHandle file = openForReading(path, share);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(fileLength(file)));
    readBlocks(file, [&](const char *data, std::size_t size) { bytes.append(data, size); });
    return bytes;
}

void writeWholeFile(const std::string &path, std::string_view bytes) {
    const FileHandle file = openOrRaise(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    writeAll(file, bytes);
}

void appendToFile(const std::string &path, std::string_view bytes) {
    const FileHandle file = openOrRaise(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS);
    writeAll(file, bytes);
}

void deleteFileIfPresent(const std::string &path) {
    if (DeleteFileW(widePath(path).c_str())) return;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND) raiseWin32(code);
}
