#include "file_moves.h"

#include "wide_text.h"

#include <winternl.h>

#include <cstring>
#include <optional>
#include <vector>

bool SystemFileMoves::flush(HANDLE file) { return FlushFileBuffers(file) != 0; }

bool SystemFileMoves::replace(const std::string &destination, const std::string &replacement,
                              const std::string &backup) {
    // The open that ReplaceFile makes of the destination, tried first: where the destination is held
    // by another program, some systems' ReplaceFile fails only after leaving a file of its own beside it.
    {
        const FileHandle probe(CreateFileW(widePath(destination).c_str(), GENERIC_READ | DELETE | SYNCHRONIZE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        if (!probe.valid()) return false;
    }
    // Without WRITE_DAC on the destination (a share with "Change" rights) the ACL cannot be carried
    // over; the replacement then keeps the folder's. REPLACEFILE_WRITE_THROUGH is documented as not
    // supported: the caller's flush is what makes the bytes durable.
    return ReplaceFileW(widePath(destination).c_str(), widePath(replacement).c_str(),
                        widePath(backup).c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
}

// No MOVEFILE_WRITE_THROUGH: it acts only on a move made as a copy and a delete, which a move within
// one folder never is.
bool SystemFileMoves::move(const std::string &from, const std::string &to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool SystemFileMoves::moveToFreeName(const std::string &from, const std::string &to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), 0) != 0;
}

bool SystemFileMoves::renameOpenFile(HANDLE file, const std::string &to) {
    const std::wstring name = widePath(to);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto *rename = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != 0;
}

bool SystemFileMoves::remove(const std::string &path) { return DeleteFileW(widePath(path).c_str()) != 0; }

DWORD SystemFileMoves::attributes(const std::string &path) {
    return GetFileAttributesW(widePath(path).c_str());
}

bool SystemFileMoves::setAttributes(HANDLE file, DWORD attributes) {
    FILE_BASIC_INFO basic{}; // times of 0 are left as they are
    basic.FileAttributes = attributes;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

bool SystemFileMoves::entryName(const std::string &path, std::wstring &name) {
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW(widePath(path).c_str(), &entry));
    if (!search.valid()) return false;
    name = entry.cFileName;
    return true;
}

bool SystemFileMoves::fileIndex(HANDLE file, ULONGLONG &index) {
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION internal{};
    const NTSTATUS result =
        NtQueryInformationFile(file, &io, &internal, sizeof internal, FileInternalInformation);
    if (result < 0) {
        SetLastError(RtlNtStatusToDosError(result));
        return false;
    }
    index = static_cast<ULONGLONG>(internal.IndexNumber.QuadPart);
    return true;
}

bool SystemFileMoves::fileId(HANDLE file, FileId128 &id) {
    static_assert(sizeof(FileId128) == 24, "laid out as FILE_ID_INFO");
    // FileIdInfo, which the headers name only for builds that require Windows 8; Windows 7 answers the
    // class it does not know with ERROR_INVALID_PARAMETER.
    const auto fileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(FileFullDirectoryRestartInfo + 3);
    return GetFileInformationByHandleEx(file, fileIdInfo, &id, sizeof id) != 0;
}

bool SystemFileMoves::fileInformation(HANDLE file, BY_HANDLE_FILE_INFORMATION &info) {
    return GetFileInformationByHandle(file, &info) != 0;
}

bool SystemFileMoves::finalPath(HANDLE file, std::wstring &path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return false;
        if (length < buffer.size()) {
            buffer.resize(length);
            path = buffer;
            return true;
        }
        buffer.resize(length); // the size asked for, its NUL included
    }
}

void SystemFileMoves::pause(DWORD milliseconds) { Sleep(milliseconds); }

namespace {

std::optional<FileId128> longIdOf(HANDLE file, FileMoves &calls) {
    FileId128 id;
    if (!calls.fileId(file, id)) return std::nullopt;
    return id;
}

std::optional<std::pair<DWORD, ULONGLONG>> shortIdOf(HANDLE file, FileMoves &calls) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!calls.fileInformation(file, info)) return std::nullopt;
    return std::pair{info.dwVolumeSerialNumber, (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<std::wstring> finalPathOf(HANDLE file, FileMoves &calls) {
    std::wstring path;
    if (!calls.finalPath(file, path)) return std::nullopt;
    return path;
}

Sameness sameWhen(bool equal) { return equal ? Sameness::Same : Sameness::Different; }

// Opened for no access at all, sharing everything, so that no other program's use of the file or
// folder stands in the way and nothing about it changes.
FileHandle openForIdentity(const std::string &path) {
    return FileHandle(CreateFileW(widePath(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

} // namespace

Sameness sameness(HANDLE first, HANDLE second, FileMoves &calls) {
    // Cheap, and enough for most pairs: on some systems (Wine among them) the ids below each cost a
    // query of the volume. Alike indexes prove nothing (on ReFS two files may share one).
    ULONGLONG firstIndex = 0, secondIndex = 0;
    if (calls.fileIndex(first, firstIndex) && calls.fileIndex(second, secondIndex) &&
        firstIndex != secondIndex)
        return Sameness::Different;
    const auto firstLong = longIdOf(first, calls), secondLong = longIdOf(second, calls);
    if (firstLong && secondLong)
        return sameWhen(firstLong->volumeSerialNumber == secondLong->volumeSerialNumber &&
                        std::memcmp(firstLong->identifier, secondLong->identifier, 16) == 0);
    // The 64-bit index only where the 128-bit id is missing for both (Windows 7): on ReFS the index
    // is not unique, and there the 128-bit id is always there.
    if (!firstLong && !secondLong) {
        const auto firstShort = shortIdOf(first, calls), secondShort = shortIdOf(second, calls);
        if (firstShort && secondShort) return sameWhen(*firstShort == *secondShort);
    }
    const auto firstPath = finalPathOf(first, calls), secondPath = finalPathOf(second, calls);
    if (firstPath && secondPath)
        return sameWhen(CompareStringOrdinal(firstPath->c_str(), static_cast<int>(firstPath->size()),
                                             secondPath->c_str(), static_cast<int>(secondPath->size()),
                                             TRUE) == CSTR_EQUAL);
    return Sameness::Unknown;
}

Sameness sameFileOnDisk(const std::string &first, const std::string &second, FileMoves &calls) {
    const FileHandle one = openForIdentity(first);
    if (!one.valid()) return Sameness::Different;
    const FileHandle other = openForIdentity(second);
    if (!other.valid()) return Sameness::Different;
    return sameness(one.get(), other.get(), calls);
}

Sameness fileAt(const FileHandle &file, const std::string &path, FileMoves &calls) {
    const FileHandle other = openForIdentity(path);
    if (!other.valid()) return Sameness::Different;
    return sameness(file.get(), other.get(), calls);
}
