#include "appdata.h"
#include "handles.h"
#include "path_text.h"

#include <shlobj.h>

#include <memory>

namespace {

constexpr int applicationDataFolder = 26;

struct PidlFree {
    void operator()(ITEMIDLIST *pidl) const { CoTaskMemFree(pidl); }
};

bool ensureFolder(const std::string &path) {
    return folderExists(path) || CreateDirectoryA(path.c_str(), nullptr) || folderExists(path);
}

} // namespace

std::string specialFolderPath(int folderNumber) noexcept {
    try {
        ITEMIDLIST *raw = nullptr;
        if (SHGetSpecialFolderLocation(nullptr, folderNumber, &raw) != S_OK) return {};
        std::unique_ptr<ITEMIDLIST, PidlFree> pidl(raw);
        // The shell writes at most MAX_PATH characters with the NUL, so this buffer cannot overrun.
        char path[MAX_PATH + 1] = {};
        if (!SHGetPathFromIDListA(pidl.get(), path)) return {};
        return addBackslash(std::string(path, static_cast<size_t>(lstrlenA(path))));
    } catch (...) {
        return {};
    }
}

bool folderExists(const std::string &path) noexcept {
    try {
        std::string trimmed = path;
        while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
        WIN32_FIND_DATAA found;
        FindHandle search(FindFirstFileA(trimmed.c_str(), &found));
        return search.valid() && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } catch (...) {
        return false;
    }
}

std::string appDataFolder(const std::string &fallback) noexcept {
    try {
        const std::string root = specialFolderPath(applicationDataFolder);
        if (root.empty()) return addBackslash(fallback);
        const std::string maker = addBackslash(root) + "Hollowcrest software\\";
        if (!ensureFolder(maker)) return addBackslash(fallback);
        const std::string program = maker + "Quillmere\\";
        if (!ensureFolder(program)) return addBackslash(fallback);
        return program;
    } catch (...) {
        try {
            return addBackslash(fallback);
        } catch (...) {
            return "\\";
        }
    }
}

std::string programFolder() {
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = filePart(std::string(path, length), 3);
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}
