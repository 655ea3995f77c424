// Owners of Windows handles: closed on every path, never copied.
#pragma once

#include "platform/win.h"

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
