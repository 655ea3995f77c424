// Presses a key in a modal window as the keyboard would, once the window is the active one: the key
// goes to the control that has the focus at that moment. A window that the key leaves open (or that
// never becomes active) is closed after 10 s, only so that the test ends and says so.
#pragma once

#include "when_active.h"
#include "win.h"

class ModalKeyPress {
public:
    // Make it before entering the window's modal loop; read it afterwards.
    ModalKeyPress(WPARAM key, HWND window)
        : key_(key), window_(window),
          whenActive_([window](HWND active) { return active == window; }, [this](HWND) { press(); },
                      safetyNetMs, [this](HWND) { closeLeftOpen(); }) {}

    HWND focused() const { return focused_; }
    bool pressed() const { return whenActive_.ran(); }
    bool stillOpen() const { return stillOpen_; }

private:
    static constexpr DWORD safetyNetMs = 10000;

    void press() {
        focused_ = GetFocus();
        PostMessageA(focused_, WM_KEYDOWN, key_, 1);
        PostMessageA(focused_, WM_KEYUP, key_, 0xC0000001);
    }
    void closeLeftOpen() {
        if (!IsWindow(window_)) return;
        stillOpen_ = true;
        PostMessageA(window_, WM_CLOSE, 0, 0);
    }

    WPARAM key_;
    HWND window_;
    HWND focused_ = nullptr;
    bool stillOpen_ = false;
    WhenActive whenActive_; // last: its steps use the fields above
};
