// The program's only access to the registry: keys named by one full path whose first component is a
// predefined root ("HKEY_CURRENT_USER\Software\..."), string values only. Failures never reach the
// caller as errors: a read that fails answers "Error", a create or write that fails has no effect.
#pragma once

#include "win.h"

#include <string>
#include <string_view>

class Registry {
public:
    // Told of every key path that does not begin with "HKEY_" or ends in a backslash (the program shows
    // it to the user). Such a path gives no root either way.
    class IncorrectFormatReport {
    public:
        virtual ~IncorrectFormatReport() = default;
        virtual void incorrectFormat(const std::string &keyPath) = 0;
    };

    // What a read answers when the key or the value cannot be read.
    static inline const std::string readFailure = "Error";

    struct KeyPath {
        HKEY root = nullptr; // nullptr: no root, the operation does nothing
        std::string subkey;  // handed to the platform as it stands; empty for the root itself
    };

    explicit Registry(IncorrectFormatReport &report) : report_(report) {}

    // One of the seven predefined root names, matched exactly (case included); nullptr for any other.
    static HKEY rootKeyHandle(std::string_view rootName);

    // A malformed path goes to the report and gives no root.
    KeyPath splitKeyPath(const std::string &keyPath) const;

    // Creates the key and every missing key on the way to it; an existing key keeps its values.
    void createKey(const std::string &keyPath) const;

    // The value's text; "Error" when the key or value cannot be read or the text needs more than the
    // 255-byte buffer; "" when the root name is unknown.
    std::string getKeyValue(const std::string &keyPath, const std::string &valueName) const;

    // Stores the text as a string value of an existing key; a missing key is not created.
    void setKeyValue(const std::string &keyPath, const std::string &valueName, const std::string &text) const;

private:
    IncorrectFormatReport &report_;
};
