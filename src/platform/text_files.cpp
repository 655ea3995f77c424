#include "platform/text_files.h"

#include "platform/win_error.h"
#include <algorithm>

#include <vector>

namespace {

FileHandle openOrRaise(const std::string &path, DWORD access, DWORD share, DWORD disposition) {
    FileHandle file(
        CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        raiseLastError();
    return file;
}

void writeAll(const FileHandle &file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr))
            raiseLastError();
        if (written == 0)
            raiseError(err::DiskFull);
        bytes.remove_prefix(written);
    }
}

// The destination's folder, where the temporary file must lie for the move to be one step.
std::string folderOf(const std::string &destination) {
    const std::size_t slash = destination.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    if (slash == 2 && destination[1] == ':')
        return destination.substr(0, 2);
    return destination.substr(0, slash);
}

// A new file beside the destination, under a name no other file has.
FileHandle createTemporaryIn(const std::string &folder, std::string &name) {
    static unsigned serial = 0;
    const std::string stem = folder + "\\~qm" + std::to_string(GetCurrentProcessId()) + "-";
    for (;;) {
        name = stem + std::to_string(++serial) + ".tmp";
        FileHandle file(
            CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid())
            return file;
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
            raiseWin32(code);
    }
}

} // namespace

FileHandle openForReading(const std::string &path, ShareWrite share) {
    const DWORD mode = share == ShareWrite::Denied ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    return openOrRaise(path, GENERIC_READ, mode, OPEN_EXISTING);
}

std::uint64_t fileLength(const FileHandle &file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        raiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

namespace {

// Reads are large and sequential: a file up to this size is one read into a block sized to it,
// a larger one is read in blocks of this size.
constexpr DWORD largestBlock = 1024 * 1024;

std::uint64_t currentPosition(const FileHandle &file) {
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(file.get(), zero, &position, FILE_CURRENT))
        raiseLastError();
    return static_cast<std::uint64_t>(position.QuadPart);
}

// Reads exactly `size` bytes or finds the file shorter: the text ends early (62).
DWORD readSome(HANDLE file, char *into, DWORD size) {
    DWORD got = 0;
    if (!ReadFile(file, into, size, &got, nullptr))
        raiseLastError();
    if (got != size)
        raiseError(err::InputPastEnd);
    return got;
}

} // namespace

void readBlocks(const FileHandle &file, const std::function<void(const char *, std::size_t)> &sink) {
    const std::uint64_t length = fileLength(file);
    const std::uint64_t start = currentPosition(file);
    const std::uint64_t left = length > start ? length - start : 0;
    std::vector<char> block(static_cast<std::size_t>(std::min<std::uint64_t>(left, largestBlock)));
    for (std::uint64_t done = 0; done < left;) {
        const auto want = static_cast<DWORD>(std::min<std::uint64_t>(left - done, largestBlock));
        sink(block.data(), readSome(file.get(), block.data(), want));
        done += want;
    }
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
    if (DeleteFileA(path.c_str()))
        return;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND)
        raiseWin32(code);
}

ReplacementFile::ReplacementFile(const std::string &destination)
    : destination_(destination), file_(createTemporaryIn(folderOf(destination), temporary_)) {}

ReplacementFile::~ReplacementFile() {
    file_.close();
    if (!committed_)
        DeleteFileA(temporary_.c_str());
}

void ReplacementFile::write(std::string_view bytes) { writeAll(file_, bytes); }

void ReplacementFile::commit() {
    if (!FlushFileBuffers(file_.get()))
        raiseLastError();
    file_.close();
    if (!MoveFileExA(temporary_.c_str(), destination_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        raiseLastError();
    committed_ = true;
}
