// Reads and writes the settings key behind the program's back, so tests can arrange a store and
// check what the program left in it.
#pragma once

#include "win.h"

#include <optional>
#include <string>

// Under HKEY_CURRENT_USER.
bool rawKeyExists(const std::string &subkey);
void rawCreateKey(const std::string &subkey);
// A string value stored as the bytes given (no NUL added unless the text holds one).
void rawSetString(const std::string &subkey, const std::string &name, const std::string &bytes);
void rawSetDword(const std::string &subkey, const std::string &name, DWORD value);
void rawDeleteValue(const std::string &subkey, const std::string &name);

struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
};
std::optional<RawValue> rawGet(const std::string &subkey, const std::string &name);
// The text of a string value without its NUL, or nullopt when the value is missing.
std::optional<std::string> rawGetString(const std::string &subkey, const std::string &name);
