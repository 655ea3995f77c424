// An open registry key that closes itself on every path and is never copied.
#pragma once

#include "win.h"

#include <utility>

class RegKey {
public:
    RegKey() = default;
    RegKey(RegKey &&other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey &operator=(RegKey &&) = delete;
    RegKey(const RegKey &) = delete;
    RegKey &operator=(const RegKey &) = delete;
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }

    HKEY get() const { return key_; }
    // The slot the platform's open and create calls fill in.
    HKEY *out() { return &key_; }

private:
    HKEY key_ = nullptr;
};
