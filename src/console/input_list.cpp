#include "input_list.h"

#include "app_error.h"
#include "folders.h"
#include "handles.h"
#include "wide_text.h"
#include "wildcard.h"
#include "win_error.h"

#include <algorithm>

namespace {

std::wstring folded(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool isHiddenOrSystem(const WIN32_FIND_DATAW &entry) {
    return entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

bool isFolder(const WIN32_FIND_DATAW &entry) { return entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY; }

struct Entry {
    std::wstring name;
    bool folder;
    bool linked;
};

// Only junctions and symbolic links lead elsewhere; a folder with another reparse tag (a cloud file
// kept online, a deduplicated folder) holds its own files. The tag is in dwReserved0.
bool isLink(const WIN32_FIND_DATAW &entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (entry.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT || entry.dwReserved0 == IO_REPARSE_TAG_SYMLINK);
}

// The visible entries of a search ("folder\*", "folder\*.c"), in the order of their names; fails
// as the search does, also when it fails after its first entry. A search that finds nothing gives no
// entries.
std::vector<Entry> listEntries(FolderSearch &search, const std::string &pattern) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found{};
    const HANDLE handle = search.first(widePath(pattern), found);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return entries;
        raiseWin32(code);
    }
    DWORD code = ERROR_NO_MORE_FILES;
    try {
        do {
            const std::wstring_view name = found.cFileName;
            if (name == L"." || name == L".." || isHiddenOrSystem(found)) continue;
            entries.push_back({found.cFileName, isFolder(found), isLink(found)});
        } while (search.next(handle, found));
        code = GetLastError();
    } catch (...) {
        search.close(handle);
        throw;
    }
    search.close(handle);
    if (code != ERROR_NO_MORE_FILES) raiseWin32(code);
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return CompareStringOrdinal(a.name.c_str(), -1, b.name.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return entries;
}

// cmd's "*.*" and "name.*" take names without an extension too; the plain rule wants a dot.
bool matchesAsCmdDoes(const std::wstring &pattern, const std::wstring &name) {
    if (matchesWildcard(pattern, name)) return true;
    return pattern.size() >= 2 && pattern.ends_with(L".*") && name.find(L'.') == std::wstring::npos &&
           matchesWildcard(pattern.substr(0, pattern.size() - 2), name);
}

// The long form of a file's last part when it was given by its 8.3 short name ("LONGNA~1.TXT"): the
// replacement of a destination refuses a short alias, so --in-place must be given the file's own name.
std::string withLongName(const std::string &argument, const std::string &last) {
    const std::wstring given = widePath(argument);
    std::wstring full(given.size() + MAX_PATH, L'\0');
    const DWORD length = GetLongPathNameW(given.c_str(), full.data(), static_cast<DWORD>(full.size()));
    if (length == 0 || length >= full.size()) return argument;
    full.resize(length);
    const std::string longLast = toUtf8(full.substr(full.find_last_of(L"\\/") + 1));
    if (longLast.empty() || pathKey(longLast) == pathKey(last)) return argument;
    return argument.substr(0, argument.size() - last.size()) + longLast;
}

std::string joined(const std::string &folder, const std::string &name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '\\' || last == '/' || (folder.size() == 2 && last == ':') ? folder + name
                                                                              : folder + "\\" + name;
}

class Collector {
public:
    Collector(const std::vector<std::string> &extensions, bool recursive, FolderSearch &search)
        : recursive_(recursive), search_(search) {
        for (const std::string &extension : extensions)
            extensions_.push_back(folded(L"." + toWide(extension)));
    }

    InputList take(const std::vector<std::string> &arguments) {
        for (const std::string &argument : arguments) add(argument);
        return std::move(list_);
    }

private:
    void add(const std::string &given) {
        const std::string argument = asFileName(nativeSystemPath(given, underWow64()));
        // Names made from a folder or a wildcard are printed in Windows' form, never "src/sub\a.txt".
        std::string windowsForm = argument;
        std::replace(windowsForm.begin(), windowsForm.end(), '/', '\\');
        const std::size_t cut = argument.find_last_of("\\/:");
        const std::string folder = cut == std::string::npos ? "" : argument.substr(0, cut + 1);
        const std::string last = argument.substr(folder.size());
        if (hasWildcard(toWide(last))) {
            list_.many = true;
            expandWildcard(windowsForm, windowsForm.substr(0, folder.size()), last);
            return;
        }
        const DWORD attributes = GetFileAttributesW(widePath(argument).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            list_.many = true;
            guarded(windowsForm, [&] { addFolder(windowsForm, ""); });
            return;
        }
        const std::string named = withLongName(argument, last);
        list_.files.push_back({named, named.substr(folder.size())});
    }

    // The system's search also matches 8.3 short names ("*.htm" finds "page.html"): only names whose
    // own long form matches are taken.
    void expandWildcard(const std::string &argument, const std::string &folder, const std::string &pattern) {
        const std::wstring wanted = folded(toWide(pattern));
        const std::size_t before = list_.files.size();
        guarded(argument, [&] {
            for (const Entry &entry : listEntries(search_, argument)) {
                if (entry.folder || !matchesAsCmdDoes(wanted, folded(entry.name))) continue;
                const std::string name = toUtf8(entry.name);
                list_.files.push_back({asFileName(folder + name), name});
            }
        });
        if (list_.files.size() == before &&
            (list_.problems.empty() || list_.problems.back().name != argument))
            list_.problems.push_back({argument, err::FileNotFound});
    }

    void addFolder(const std::string &folder, const std::string &relative) {
        for (const Entry &entry : listEntries(search_, joined(folder, "*"))) {
            const std::string name = toUtf8(entry.name);
            if (entry.folder) {
                if (recursive_ && !entry.linked) {
                    const std::string inner = joined(folder, name);
                    guarded(inner, [&] { addFolder(inner, relative + name + "\\"); });
                }
            } else if (hasChosenExtension(entry.name)) {
                list_.files.push_back({joined(folder, name), relative + name});
            }
        }
    }

    bool hasChosenExtension(const std::wstring &name) const {
        const std::wstring upper = folded(name);
        return std::any_of(extensions_.begin(), extensions_.end(), [&](const std::wstring &extension) {
            return upper.size() > extension.size() && upper.ends_with(extension);
        });
    }

    template <class Step> void guarded(const std::string &name, Step step) {
        try {
            step();
        } catch (const AppError &error) {
            list_.problems.push_back({name, error.number});
        }
    }

    static bool underWow64() {
        BOOL wow64 = FALSE;
        return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
    }

    std::vector<std::wstring> extensions_;
    bool recursive_;
    FolderSearch &search_;
    InputList list_;
};

} // namespace

HANDLE FolderSearch::first(const std::wstring &search, WIN32_FIND_DATAW &found) {
    return FindFirstFileW(search.c_str(), &found);
}

bool FolderSearch::next(HANDLE search, WIN32_FIND_DATAW &found) { return FindNextFileW(search, &found); }

void FolderSearch::close(HANDLE search) { FindClose(search); }

InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive, FolderSearch &search) {
    return Collector(extensions, recursive, search).take(arguments);
}

InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive) {
    FolderSearch system;
    return collectInputs(arguments, extensions, recursive, system);
}

std::string asFileName(const std::string &name) {
    if (name.find_first_of("\\/:") != std::string::npos || !namesDosDevice(toWide(name))) return name;
    return ".\\" + name;
}

std::string nativeSystemPath(const std::string &path, bool underWow64) {
    if (!underWow64) return path;
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return path;
    const std::wstring folder = folded(std::wstring(windows, length) + L"\\SYSTEM32");
    const std::wstring full = fullPath(path);
    if (folded(full.substr(0, folder.size())) != folder ||
        (full.size() > folder.size() && full[folder.size()] != L'\\'))
        return path;
    return toUtf8(std::wstring(windows, length) + L"\\Sysnative" + full.substr(folder.size()));
}
