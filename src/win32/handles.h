// Owners of Windows handles and shell memory: closed or freed on every path, never copied.
#pragma once

#include "win.h"

#include <shlobj.h>

#include <memory>
#include <utility>

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(FileHandle &&other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FileHandle &operator=(FileHandle &&other) noexcept {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    ~FileHandle() { close(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void close() {
        if (valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Any other kernel object (a mutex ...) is closed the same way.
using KernelHandle = FileHandle;

// Holds a global memory block locked for its lifetime.
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    GlobalLocked(const GlobalLocked &) = delete;
    GlobalLocked &operator=(const GlobalLocked &) = delete;
    ~GlobalLocked() {
        if (data_) GlobalUnlock(memory_);
    }
    void *get() const { return data_; }

private:
    HGLOBAL memory_;
    void *data_;
};

class IconHandle {
public:
    explicit IconHandle(HICON icon = nullptr) : icon_(icon) {}
    IconHandle(const IconHandle &) = delete;
    IconHandle &operator=(const IconHandle &) = delete;
    ~IconHandle() { reset(nullptr); }
    void reset(HICON icon) {
        if (icon_) DestroyIcon(icon_);
        icon_ = icon;
    }
    HICON get() const { return icon_; }

private:
    HICON icon_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle &) = delete;
    FindHandle &operator=(const FindHandle &) = delete;
    ~FindHandle() {
        if (valid()) FindClose(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object = nullptr) : object_(object) {}
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    void reset(HGDIOBJ object) {
        if (object_) DeleteObject(object_);
        object_ = object;
    }
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

// An open registry key.
class RegKey {
public:
    RegKey() = default;
    RegKey(RegKey &&other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey &operator=(RegKey &&) = delete;
    RegKey(const RegKey &) = delete;
    RegKey &operator=(const RegKey &) = delete;
    ~RegKey() {
        if (key_) RegCloseKey(key_);
    }

    HKEY get() const { return key_; }
    // The slot the platform's open and create calls fill in.
    HKEY *out() { return &key_; }

private:
    HKEY key_ = nullptr;
};

// An item identifier list the shell allocated.
struct PidlFree {
    void operator()(ITEMIDLIST *pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;
