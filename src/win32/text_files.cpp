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

void writeAll(const FileHandle &file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) raiseLastError();
        if (written == 0) raiseError(err::DiskFull);
        bytes.remove_prefix(written);
    }
}

// The destination's folder, where the temporary file must lie for the move to be one step.
std::string folderOf(const std::string &destination) {
    const std::size_t slash = destination.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 2 && destination[1] == ':') return destination.substr(0, 2);
    return destination.substr(0, slash);
}

// Marks the open file for deletion when its last handle closes, or takes the mark off.
bool markForDeletion(HANDLE file, bool deleteIt) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deleteIt ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// A new file beside the destination, under a name no other file has, marked for deletion so that the
// system removes it if the program dies while writing it. A volume that cannot mark it still gets
// the file (the destructor removes it on every other path).
//
// The mark is a call of its own rather than FILE_FLAG_DELETE_ON_CLOSE at creation: a mark given at
// creation cannot be taken off through FILE_DISPOSITION_INFO (it has no effect on such a handle), and
// the class that can (FileDispositionInfoEx) is missing from older Windows, Windows 7 among them.
FileHandle createTemporaryIn(const std::string &folder, std::string &name) {
    static unsigned serial = 0;
    const std::string stem = folder + "\\~qm" + std::to_string(GetCurrentProcessId()) + "-";
    for (;;) {
        name = stem + std::to_string(++serial) + ".tmp";
        FileHandle file(CreateFileW(widePath(name).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            markForDeletion(file.get(), true);
            return file;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) raiseWin32(code);
    }
}

// Another program holding the file briefly (a virus scanner, an indexer) looks like this.
bool worthRetrying(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED ||
           code == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Makes a move until it succeeds (true) or fails in a way `settled` takes as an answer (false). A
// failure that a virus scanner or an indexer may cause is tried again, moveAttempts times in all;
// any other raises the program's error.
template <class Move, class Settled> bool retryingMove(Move move, Settled settled) {
    for (int attempt = 1;; ++attempt) {
        if (move()) return true;
        const DWORD code = GetLastError();
        if (settled(code)) return false;
        if (attempt == moveAttempts || !worthRetrying(code)) raiseWin32(code);
        fileMoves().pause(moveRetryPause);
    }
}

struct FileIdentity {
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    bool operator==(const FileIdentity &) const = default;
};

std::optional<FileIdentity> identityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Opened for no access at all, sharing everything, so that no other program's use of the file or
// folder stands in the way and nothing about it changes.
std::optional<FileIdentity> identityAt(const std::string &path) {
    const FileHandle file(CreateFileW(widePath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return std::nullopt;
    return identityOf(file.get());
}

FileMoves systemFileMoves;
FileMoves *currentFileMoves = &systemFileMoves;

} // namespace

bool sameFileOnDisk(const std::string &first, const std::string &second) {
    const auto one = identityAt(first);
    return one && one == identityAt(second);
}

bool isFileAt(const FileHandle &file, const std::string &path) {
    const auto open = identityOf(file.get());
    return open && open == identityAt(path);
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

namespace {

void readBlocksFrom(const FileHandle &file, std::uint64_t start, std::uint64_t length,
                    const std::function<void(const char *, std::size_t)> &sink) {
    const std::uint64_t left = length > start ? length - start : 0;
    std::vector<char> block(static_cast<std::size_t>(std::min<std::uint64_t>(left, largestBlock)));
    for (std::uint64_t done = 0; done < left;) {
        const auto want = static_cast<DWORD>(std::min<std::uint64_t>(left - done, largestBlock));
        sink(block.data(), readSome(file.get(), block.data(), want));
        done += want;
    }
}

} // namespace

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

bool FileMoves::flush(HANDLE file) { return FlushFileBuffers(file) != 0; }

bool FileMoves::replace(const std::string &destination, const std::string &replacement) {
    // The open that ReplaceFile makes of the destination, tried first: where the destination is held
    // by another program, some systems' ReplaceFile fails only after leaving a file of its own beside it.
    {
        const FileHandle probe(CreateFileW(widePath(destination).c_str(), GENERIC_READ | DELETE | SYNCHRONIZE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        if (!probe.valid()) return false;
    }
    return ReplaceFileW(widePath(destination).c_str(), widePath(replacement).c_str(), nullptr,
                        REPLACEFILE_WRITE_THROUGH, nullptr, nullptr) != 0;
}

bool FileMoves::move(const std::string &from, const std::string &to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileMoves::moveToFreeName(const std::string &from, const std::string &to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

void FileMoves::pause(DWORD milliseconds) { Sleep(milliseconds); }

FileMoves &fileMoves() { return *currentFileMoves; }

FileMovesOverride::FileMovesOverride(FileMoves &replacement) : previous_(currentFileMoves) {
    currentFileMoves = &replacement;
}

FileMovesOverride::~FileMovesOverride() { currentFileMoves = previous_; }

namespace {

std::wstring foldedCase(std::wstring name) {
    if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

} // namespace

FolderNames::FolderNames(const std::string &folder) {
    WIN32_FIND_DATAW entry{};
    const bool ended = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
    const FindHandle search(FindFirstFileW(widePath(folder + (ended ? "*" : "\\*")).c_str(), &entry));
    if (!search.valid()) return; // nothing seen: every name is looked at when it is used
    do names_.insert(foldedCase(entry.cFileName));
    while (FindNextFileW(search.get(), &entry));
}

bool FolderNames::has(const std::string &name) const { return names_.count(foldedCase(widePath(name))) != 0; }

ReplacementFile::ReplacementFile(const std::string &destination, DestinationSeen seen)
    : destination_(destination), file_(createTemporaryIn(folderOf(destination), temporary_)), seen_(seen) {}

ReplacementFile::~ReplacementFile() {
    file_.close();
    if (!committed_) DeleteFileW(widePath(temporary_).c_str());
}

void ReplacementFile::write(std::string_view bytes) { writeAll(file_, bytes); }

void ReplacementFile::commit(const FileHandle *source) {
    if (seen_ == DestinationSeen::Free && movedToFreeName()) {
        committed_ = true;
        return;
    }
    const DWORD attributes = GetFileAttributesW(widePath(destination_).c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & FILE_ATTRIBUTE_READONLY)) raiseError(err::PathFileAccess);
    if (replacing && source && isFileAt(*source, destination_)) raiseError(err::PathFileAccess);
    if (!markForDeletion(file_.get(), false)) raiseLastError();
    if (replacing && !fileMoves().flush(file_.get())) raiseLastError();
    file_.close();
    // The destination's attributes, as ReplaceFile gives them on Windows; set here too, so that no
    // system leaves them out.
    if (replacing) SetFileAttributesW(widePath(temporary_).c_str(), attributes);
    putInPlace(replacing);
    committed_ = true;
}

// The move to a name seen free; false, with the replacement open again for its flush, where a file
// has taken the name meanwhile.
bool ReplacementFile::movedToFreeName() {
    if (!markForDeletion(file_.get(), false)) raiseLastError();
    file_.close();
    FileMoves &calls = fileMoves();
    const bool moved =
        retryingMove([&] { return calls.moveToFreeName(temporary_, destination_); },
                     [](DWORD code) { return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS; });
    if (moved) return true;
    file_ = openOrRaise(temporary_, GENERIC_WRITE | DELETE, 0, OPEN_EXISTING);
    markForDeletion(file_.get(), true);
    return false;
}

void ReplacementFile::putInPlace(bool replacing) {
    FileMoves &calls = fileMoves();
    retryingMove(
        [&] {
            if (!replacing) return calls.move(temporary_, destination_);
            if (calls.replace(destination_, temporary_)) return true;
            // The destination went meanwhile, or was taken away without the replacement taking its
            // place: the replacement is moved there instead.
            const DWORD code = GetLastError();
            return (code == ERROR_FILE_NOT_FOUND || code == ERROR_UNABLE_TO_MOVE_REPLACEMENT) &&
                   calls.move(temporary_, destination_);
        },
        [](DWORD) { return false; });
}
