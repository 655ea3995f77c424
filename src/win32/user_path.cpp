#include "user_path.h"

#include "handles.h"
#include "win.h"

#include <vector>

namespace {

constexpr const wchar_t *environmentKey = L"Environment";

std::wstring comparable(std::wstring entry) {
    const std::size_t start = entry.find_first_not_of(L' ');
    entry.erase(0, start == std::wstring::npos ? entry.size() : start);
    while (!entry.empty() && (entry.back() == L' ' || entry.back() == L'\\')) entry.pop_back();
    // A drive's root keeps its backslash: "C:" alone means the drive's working folder.
    if (entry.size() == 2 && entry[1] == L':') entry += L'\\';
    if (!entry.empty()) CharUpperBuffW(entry.data(), static_cast<DWORD>(entry.size()));
    return entry;
}

std::vector<std::wstring> entriesOf(const std::wstring &path) {
    std::vector<std::wstring> entries;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find(L';', start);
        entries.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return entries;
        start = end + 1;
    }
}

// The value as stored, unexpanded; an empty text when there is none.
bool readUserPath(HKEY key, std::wstring &path) {
    DWORD type = 0, size = 0;
    LSTATUS status = RegQueryValueExW(key, L"Path", nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    // The value may grow between the two calls: asked again with the size it has then.
    for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE *>(text.data()), &got);
        if (status == ERROR_SUCCESS) {
            if (type != REG_SZ && type != REG_EXPAND_SZ) break;
            path.assign(text.data(), got / sizeof(wchar_t));
            while (!path.empty() && path.back() == L'\0') path.pop_back();
            return true;
        }
        if (status != ERROR_MORE_DATA || attempt == 3) break;
        size = got;
    }
    SetLastError(status == ERROR_SUCCESS ? ERROR_INVALID_DATA : static_cast<DWORD>(status));
    return false;
}

} // namespace

std::wstring pathWithFolder(const std::wstring &path, const std::wstring &folder) {
    const std::wstring wanted = comparable(folder);
    for (const std::wstring &entry : entriesOf(path))
        if (comparable(entry) == wanted) return path;
    if (path.empty()) return folder;
    return path.back() == L';' ? path + folder : path + L";" + folder;
}

std::wstring pathWithoutFolder(const std::wstring &path, const std::wstring &folder) {
    const std::wstring unwanted = comparable(folder);
    std::wstring kept;
    bool first = true, removed = false;
    for (const std::wstring &entry : entriesOf(path)) {
        if (comparable(entry) == unwanted) {
            removed = true;
            continue;
        }
        if (!first) kept += L';';
        kept += entry;
        first = false;
    }
    return removed ? kept : path;
}

bool changeUserPath(PathChange change, const std::wstring &folder) {
    RegKey key;
    const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, environmentKey, 0, nullptr, 0,
                                           KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.out(), nullptr);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return false;
    }
    std::wstring path;
    if (!readUserPath(key.get(), path)) return false;
    const std::wstring changed =
        change == PathChange::Add ? pathWithFolder(path, folder) : pathWithoutFolder(path, folder);
    if (changed == path) return true;
    LSTATUS written = ERROR_SUCCESS;
    if (changed.empty()) {
        written = RegDeleteValueW(key.get(), L"Path");
    } else {
        const auto bytes = static_cast<DWORD>((changed.size() + 1) * sizeof(wchar_t));
        written = RegSetValueExW(key.get(), L"Path", 0, REG_EXPAND_SZ,
                                 reinterpret_cast<const BYTE *>(changed.c_str()), bytes);
    }
    if (written != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(written));
        return false;
    }
    // Programs started from now on by Explorer see the new PATH; a window that does not answer
    // within the time is not waited for.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    return true;
}
