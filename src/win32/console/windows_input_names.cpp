#include "console/windows_input_names.h"

#include "app_error.h"
#include "folders.h"
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

// Only junctions and symbolic links lead elsewhere; a folder with another reparse tag (a cloud file
// kept online, a deduplicated folder) holds its own files. The tag is in dwReserved0.
bool isLink(const WIN32_FIND_DATAW &entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (entry.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT || entry.dwReserved0 == IO_REPARSE_TAG_SYMLINK);
}

struct WideEntry {
    std::wstring name;
    bool folder;
    bool linked;
};

// The visible entries of a search ("folder\*", "folder\*.c"), in the order of their names; fails
// as the search does, also when it fails after its first entry. A search that finds nothing gives no
// entries.
std::vector<WideEntry> listEntries(FolderSearch &search, const std::string &pattern) {
    std::vector<WideEntry> entries;
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
    std::sort(entries.begin(), entries.end(), [](const WideEntry &a, const WideEntry &b) {
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

bool underWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace

HANDLE FolderSearch::first(const std::wstring &search, WIN32_FIND_DATAW &found) {
    return FindFirstFileW(search.c_str(), &found);
}

bool FolderSearch::next(HANDLE search, WIN32_FIND_DATAW &found) { return FindNextFileW(search, &found); }

void FolderSearch::close(HANDLE search) { FindClose(search); }

WindowsInputNames::WindowsInputNames() : search_(systemSearch_) {}

// Windows' rules give no argument a quote of its own but for \" inside quotes: a quote left in an
// argument comes from a quoted path that ends in a backslash ("D:\out dir\"), whose last quote took
// the rest of the line into one argument.
bool WindowsInputNames::hasStrayQuote(const std::string &argument) const {
    return argument.find('"') != std::string::npos;
}

bool WindowsInputNames::isNullDevice(const std::string &name) const {
    std::string upper;
    for (char c : name) upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper == "NUL" || upper == "NUL:" || upper == "\\\\.\\NUL";
}

// A name that is only a device ("CON", "COM1:", "\\.\PRN"). A name with an extension ("aux.txt") is
// a file, and the program opens it as one.
bool WindowsInputNames::isBareDevice(const std::string &name) const {
    if (name.rfind("\\\\.\\", 0) == 0) return name.find_first_of("\\/", 4) == std::string::npos;
    std::string last = name.substr(name.find_last_of("\\/") + 1);
    while (!last.empty() && (last.back() == ':' || last.back() == ' ')) last.pop_back();
    return !last.empty() && last.find('.') == std::string::npos && namesDosDevice(toWide(last));
}

// A bare name that Windows would take for a device ("aux.txt", "con.c") as the file of that name in the
// working folder (".\aux.txt"), which is opened as the file it is; every other name as it is.
std::string WindowsInputNames::asFileName(const std::string &name) const {
    if (name.find_first_of("\\/:") != std::string::npos || !namesDosDevice(toWide(name))) return name;
    return ".\\" + name;
}

std::string WindowsInputNames::joined(const std::string &folder, const std::string &name) const {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '\\' || last == '/' || (folder.size() == 2 && last == ':') ? folder + name
                                                                              : folder + "\\" + name;
}

bool WindowsInputNames::hasExtension(const std::string &name, const std::string &extension) const {
    const std::wstring upper = folded(toWide(name));
    const std::wstring dotted = folded(L"." + toWide(extension));
    return upper.size() > dotted.size() && upper.ends_with(dotted);
}

// The system's search also matches 8.3 short names ("*.htm" finds "page.html"): only names whose own
// long form matches are taken.
NamedInput WindowsInputNames::named(const std::string &given) {
    const std::string argument = asFileName(nativeSystemPath(given, underWow64()));
    // Names made from a folder or a wildcard are printed in Windows' form, never "src/sub\a.txt".
    std::string windowsForm = argument;
    std::replace(windowsForm.begin(), windowsForm.end(), '/', '\\');
    const std::size_t cut = argument.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? "" : argument.substr(0, cut + 1);
    const std::string last = argument.substr(folder.size());
    NamedInput named;
    if (hasWildcard(toWide(last))) {
        named.kind = NamedInput::Kind::Pattern;
        named.path = windowsForm;
        named.folder = folder;
        const std::wstring wanted = folded(toWide(last));
        try {
            for (const WideEntry &entry : listEntries(search_, windowsForm)) {
                if (entry.folder || !matchesAsCmdDoes(wanted, folded(entry.name))) continue;
                const std::string name = toUtf8(entry.name);
                named.files.push_back({asFileName(windowsForm.substr(0, folder.size()) + name), name});
            }
        } catch (const AppError &error) {
            named.files.clear();
            named.errorNumber = error.number;
        }
        return named;
    }
    const DWORD attributes = GetFileAttributesW(widePath(argument).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        named.kind = NamedInput::Kind::Folder;
        named.path = windowsForm;
        return named;
    }
    const std::string file = withLongName(argument, last);
    named.files.push_back({file, file.substr(folder.size())});
    named.folder = folder;
    return named;
}

std::vector<FolderEntry> WindowsInputNames::entries(const std::string &folder) {
    std::vector<FolderEntry> entries;
    for (const WideEntry &entry : listEntries(search_, joined(folder, "*")))
        entries.push_back({toUtf8(entry.name), entry.folder, entry.linked});
    return entries;
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
