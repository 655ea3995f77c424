#include "raw_registry.h"

#include <vector>

namespace {

HKEY openRaw(const std::string &subkey, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

void setRaw(const std::string &subkey, const std::string &name, DWORD type, const void *data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, subkey.c_str(), &key);
    RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

} // namespace

bool rawKeyExists(const std::string &subkey) {
    HKEY key = openRaw(subkey, KEY_READ);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

void rawCreateKey(const std::string &subkey) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, subkey.c_str(), &key) == ERROR_SUCCESS) RegCloseKey(key);
}

void rawSetString(const std::string &subkey, const std::string &name, const std::string &bytes) {
    // A byte other than NUL right behind the data keeps the platform from counting a NUL in.
    const std::string guarded = bytes + 'X';
    setRaw(subkey, name, REG_SZ, guarded.data(), static_cast<DWORD>(bytes.size()));
}

void rawSetDword(const std::string &subkey, const std::string &name, DWORD value) {
    setRaw(subkey, name, REG_DWORD, &value, sizeof value);
}

void rawDeleteValue(const std::string &subkey, const std::string &name) {
    HKEY key = openRaw(subkey, KEY_WRITE);
    if (!key) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

std::optional<RawValue> rawGet(const std::string &subkey, const std::string &name) {
    HKEY key = openRaw(subkey, KEY_READ);
    if (!key) return std::nullopt;
    std::vector<char> data(4096);
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    const LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return RawValue{type, std::string(data.data(), size)};
}

std::optional<std::string> rawGetString(const std::string &subkey, const std::string &name) {
    auto value = rawGet(subkey, name);
    if (!value) return std::nullopt;
    std::string text = value->bytes;
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}
