#include "wide_text.h"

#include "win.h"

namespace {

std::wstring multiByteToWide(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

std::string wideToMultiByte(UINT codePage, std::wstring_view wide, BOOL *usedDefault) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, usedDefault);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, usedDefault);
    return text;
}

bool isHigh(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLow(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

} // namespace

std::wstring toWide(std::string_view utf8) { return multiByteToWide(CP_UTF8, 0, utf8); }

std::string toUtf8(std::wstring_view wide) { return wideToMultiByte(CP_UTF8, wide, nullptr); }

std::string toUtf8(const wchar_t *wide) { return wide ? toUtf8(std::wstring_view(wide)) : std::string(); }

bool hasUnpairedSurrogate(std::wstring_view wide) {
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (isLow(wide[i])) return true;
        if (!isHigh(wide[i])) continue;
        if (i + 1 == wide.size() || !isLow(wide[i + 1])) return true;
        ++i;
    }
    return false;
}

std::string ansiToUtf8(std::string_view ansi) { return toUtf8(multiByteToWide(CP_ACP, 0, ansi)); }

std::string utf8OrAnsiToUtf8(std::string_view bytes) {
    if (bytes.empty() || !multiByteToWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes).empty())
        return std::string(bytes);
    return ansiToUtf8(bytes);
}

std::string ansiWhereItFits(std::string_view utf8) {
    const std::wstring wide = toWide(utf8);
    BOOL usedDefault = FALSE;
    std::string ansi = wideToMultiByte(CP_ACP, wide, &usedDefault);
    // A character that the code page only approximates ("best fit") does not come back the same.
    if (usedDefault || multiByteToWide(CP_ACP, 0, ansi) != wide) return std::string(utf8);
    return ansi;
}

namespace {

wchar_t upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool sameLetters(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::wstring_view lastPart(std::wstring_view path) {
    const std::size_t cut = path.find_last_of(L"\\/:");
    // A colon after the name ("NUL:") belongs to the name, not to a drive.
    if (cut != std::wstring_view::npos && path[cut] == L':' && cut + 1 == path.size())
        return lastPart(path.substr(0, cut));
    return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

std::wstring systemFullPath(std::string_view utf8Path) {
    const std::wstring path = toWide(utf8Path);
    if (path.empty()) return path;
    std::wstring full(path.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length); // the size asked for, its NUL included
    }
}

// The full path of a name that the system would take for a device: its folder made full by the
// system, and the name put after it as it is (GetFullPathNameW gives "\\.\AUX" for "aux.txt").
std::wstring fullPathOfDeviceName(std::string_view utf8Path) {
    const std::wstring path = toWide(utf8Path);
    const std::wstring_view name = lastPart(path);
    std::wstring folder = path.substr(0, path.size() - name.size());
    if (folder.empty()) folder = L".\\";
    std::wstring full = systemFullPath(toUtf8(folder));
    if (!full.empty() && full.back() != L'\\') full += L'\\';
    std::wstring_view kept = name;
    // The system takes trailing dots and blanks off a last part; with the prefix it would not.
    while (!kept.empty() && (kept.back() == L'.' || kept.back() == L' ')) kept.remove_suffix(1);
    return full + std::wstring(kept);
}

// A path with a folder part whose last part the system would take for a device. A bare name ("aux.txt")
// is left to its caller: it is compared with the names of a listing as it is, and a file of that name
// in the working folder is opened as ".\aux.txt".
bool isDevicePath(const std::wstring &path) {
    return path.find_first_of(L"\\/:") != std::wstring::npos && namesDosDevice(path);
}

std::wstring prefixed(std::wstring path) {
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    return path;
}

} // namespace

std::wstring fullPath(std::string_view utf8Path) {
    const std::wstring path = toWide(utf8Path);
    const bool prefixedAlready = path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0;
    if (!prefixedAlready && isDevicePath(path)) return fullPathOfDeviceName(utf8Path);
    return systemFullPath(utf8Path);
}

bool namesDosDevice(std::wstring_view path) {
    std::wstring_view name = lastPart(path);
    if (const std::size_t dot = name.find(L'.'); dot != std::wstring_view::npos) name = name.substr(0, dot);
    while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
    for (const wchar_t *device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (sameLetters(name, device)) return true;
    if (name.size() != 4) return false;
    const wchar_t digit = name[3];
    const bool numbered =
        (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
    return numbered && (sameLetters(name.substr(0, 3), L"COM") || sameLetters(name.substr(0, 3), L"LPT"));
}

namespace {

std::wstring prefixedFrom(std::string_view utf8Path, std::size_t limit) {
    std::wstring path = toWide(utf8Path);
    if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
    if (isDevicePath(path)) return prefixed(fullPathOfDeviceName(utf8Path));
    if (path.size() < limit) return path;
    // The prefix turns off the system's own normalization, so the path is normalized first, as the
    // system would have: "." and ".." parts resolved, forward slashes turned, trailing dots and blanks
    // of the last part taken off.
    path = fullPath(utf8Path);
    if (path.size() < limit) return path;
    return prefixed(std::move(path));
}

} // namespace

std::wstring widePath(std::string_view utf8Path) { return prefixedFrom(utf8Path, MAX_PATH); }

std::wstring wideFolderPath(std::string_view utf8Path) { return prefixedFrom(utf8Path, MAX_PATH - 12); }
