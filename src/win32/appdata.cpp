#include "appdata.h"
#include "folders.h"
#include "handles.h"
#include "path_text.h"
#include "wide_text.h"

#include <shlobj.h>

namespace {

bool ensureFolder(const std::string &path) {
    return DirExists(path) || CreateDirectoryW(widePath(path).c_str(), nullptr) || DirExists(path);
}

} // namespace

std::string specialFolderPath(int folderNumber) noexcept {
    try {
        ITEMIDLIST *raw = nullptr;
        if (SHGetSpecialFolderLocation(nullptr, folderNumber, &raw) != S_OK) return {};
        const Pidl pidl(raw);
        // The shell writes at most MAX_PATH characters with the NUL, so this buffer cannot overrun.
        wchar_t path[MAX_PATH + 1] = {};
        if (!SHGetPathFromIDListW(pidl.get(), path)) return {};
        return addBackslash(toUtf8(path));
    } catch (...) {
        return {};
    }
}

std::string appDataFolder(const std::string &fallback) noexcept {
    try {
        const std::string root = specialFolderPath(CSIDL_APPDATA);
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
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::string folder = filePart(toUtf8(std::wstring_view(path, length)), pathPart::folder);
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}
