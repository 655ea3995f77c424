#include "registry.h"

#include "handles.h"
#include "setting_forms.h"
#include "wide_text.h"

#include <array>

namespace {

constexpr DWORD readBufferSize = 255;

struct NamedRoot {
    std::string_view name;
    HKEY handle;
};

const std::array<NamedRoot, 7> namedRoots = {{
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
}};

bool wellFormed(const std::string &keyPath) {
    return keyPath.compare(0, 5, "HKEY_") == 0 && keyPath.back() != '\\';
}

RegKey openKey(const Registry::KeyPath &path, REGSAM access) {
    RegKey key;
    if (RegOpenKeyExW(path.root, toWide(path.subkey).c_str(), 0, access, key.out()) != ERROR_SUCCESS)
        *key.out() = nullptr;
    return key;
}

} // namespace

HKEY Registry::rootKeyHandle(std::string_view rootName) {
    for (const NamedRoot &root : namedRoots)
        if (root.name == rootName) return root.handle;
    return nullptr;
}

Registry::KeyPath Registry::splitKeyPath(const std::string &keyPath) const {
    if (!wellFormed(keyPath)) {
        report_.incorrectFormat(keyPath);
        return {};
    }
    const size_t slash = keyPath.find('\\');
    if (slash == std::string::npos) return {rootKeyHandle(keyPath), ""};
    return {rootKeyHandle(std::string_view(keyPath).substr(0, slash)), keyPath.substr(slash + 1)};
}

void Registry::createKey(const std::string &keyPath) const {
    const KeyPath path = splitKeyPath(keyPath);
    if (!path.root) return;
    RegKey key;
    if (RegCreateKeyW(path.root, toWide(path.subkey).c_str(), key.out()) != ERROR_SUCCESS)
        *key.out() = nullptr;
}

std::string Registry::getKeyValue(const std::string &keyPath, const std::string &valueName) const {
    const KeyPath path = splitKeyPath(keyPath);
    if (!path.root) return "";
    const RegKey key = openKey(path, KEY_READ);
    if (!key.get()) return readFailure;
    // As many characters as the narrow read of earlier versions took bytes; a text of the ANSI code page
    // fits exactly when it did.
    std::wstring buffer(readBufferSize, L' ');
    DWORD type = REG_SZ;
    DWORD size = readBufferSize * sizeof(wchar_t);
    const LONG status = RegQueryValueExW(key.get(), toWide(valueName).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE *>(buffer.data()), &size);
    // A value of another type (a number, bytes, a list of texts) is no setting the program wrote:
    // it reads as missing, not as its bytes.
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return readFailure;
    // A text that fills the buffer leaves no room for its NUL: it does not fit, and reading it
    // would silently drop its last character.
    if (size >= readBufferSize * sizeof(wchar_t) && buffer.back() != L'\0') return readFailure;
    // A text stored without its NUL (as the program writes it) gets one, as the narrow read gave it.
    buffer.resize(size / sizeof(wchar_t));
    if (buffer.empty() || buffer.back() != L'\0') buffer.push_back(L'\0');
    return trimRegistryBuffer(toUtf8(buffer));
}

void Registry::setKeyValue(const std::string &keyPath, const std::string &valueName,
                           const std::string &text) const {
    const KeyPath path = splitKeyPath(keyPath);
    if (!path.root) return;
    const RegKey key = openKey(path, KEY_WRITE);
    if (!key.get()) return;
    const std::wstring wide = toWide(text);
    RegSetValueExW(key.get(), toWide(valueName).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE *>(wide.c_str()),
                   static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
}
