// Whether a file can be read now and a folder is there, and searching a folder for its files.
#include "folders.h"

#include "handles.h"
#include "path_text.h"
#include "wide_text.h"
#include "win_error.h"

bool fileExists(const std::string &path) noexcept {
    try {
        FileHandle file(CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.valid();
    } catch (...) {
        return false;
    }
}

// By the folder's own attributes, not by a search of it: the root of a FAT32 or exFAT volume has no
// "." and ".." entries, so an empty one lists nothing at all.
bool DirExists(const std::string &folder) noexcept {
    try {
        const DWORD attributes = GetFileAttributesW(widePath(addBackslash(folder)).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    } catch (...) {
        return false;
    }
}

// Made from the top down only as far up as needed, so a share's root (\\server\share) or a drive is
// never asked to be made.
void createFolderPath(const std::string &folder) {
    if (folder.empty() || DirExists(folder)) return;
    if (CreateDirectoryW(wideFolderPath(folder).c_str(), nullptr)) return;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS) return;
    const std::string parent = folderOfPath(folder);
    if (code != ERROR_PATH_NOT_FOUND || parent.empty() || parent == folder) raiseWin32(code);
    createFolderPath(parent);
    if (!CreateDirectoryW(wideFolderPath(folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        raiseLastError();
}

std::string pathKey(const std::string &path) {
    std::wstring key = widePath(path);
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return toUtf8(key);
}

namespace {

bool isOrdinaryFile(const WIN32_FIND_DATAW &entry) {
    return !(entry.dwFileAttributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool meansNothingFound(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_NO_MORE_FILES;
}

} // namespace

void forEachOrdinaryFile(const std::string &search, const std::function<void(const std::string &)> &found) {
    WIN32_FIND_DATAW entry{};
    const FindHandle handle(FindFirstFileW(widePath(search).c_str(), &entry));
    if (!handle.valid()) {
        const DWORD code = GetLastError();
        if (meansNothingFound(code)) return;
        raiseWin32(code);
    }
    do {
        if (isOrdinaryFile(entry)) found(toUtf8(entry.cFileName));
    } while (FindNextFileW(handle.get(), &entry));
    const DWORD code = GetLastError();
    if (code != ERROR_NO_MORE_FILES) raiseWin32(code);
}
