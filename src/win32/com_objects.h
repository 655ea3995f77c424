// Owners of COM: the apartment a thread joins, and an interface pointer released when its owner goes.
// Neither can be copied.
#pragma once

#include "win.h"

#include <objbase.h>

#include <utility>

// Joins the thread to a single-threaded apartment for the owner's lifetime; a thread that is in one
// already is counted once more, and left as often as it was joined.
class ComApartment {
public:
    ComApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (joined_) CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    bool joined_;
};

template <class Interface> class ComInterface {
public:
    ComInterface() = default;
    ComInterface(const ComInterface &) = delete;
    ComInterface &operator=(const ComInterface &) = delete;
    ~ComInterface() { reset(); }

    // Creates an in-process object of the class; empty when the system has none.
    bool create(const CLSID &classId) {
        reset();
        void *made = nullptr;
        if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Interface), &made)))
            return false;
        pointer_ = static_cast<Interface *>(made);
        return true;
    }
    void reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }
    Interface *operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface *pointer_ = nullptr;
};
