// Presses a key in a modal window once its loop runs: a timer fires inside the loop, notes which
// control has the focus and posts the key to it, as the keyboard would.
#pragma once

#include "win.h"

struct KeyInModalLoop {
    WPARAM key = 0;
    HWND window = nullptr;
    HWND focused = nullptr;
    bool stillOpen = false; // the key did not close the window; it was closed afterwards
    int waits = 0;
    UINT_PTR pressTimer = 0, closeTimer = 0;
};

inline KeyInModalLoop &pendingModalKey() {
    static KeyInModalLoop pending;
    return pending;
}

inline void CALLBACK pressPendingModalKey(HWND, UINT, UINT_PTR timer, DWORD) {
    KeyInModalLoop &pending = pendingModalKey();
    // The keyboard reaches the window once it is the active one.
    if (GetActiveWindow() != pending.window && ++pending.waits < 10) return;
    KillTimer(nullptr, timer);
    pending.pressTimer = 0;
    pending.focused = GetFocus();
    PostMessageA(pending.focused, WM_KEYDOWN, pending.key, 1);
    PostMessageA(pending.focused, WM_KEYUP, pending.key, 0xC0000001);
}

// A window the key left open is closed a moment later, so the test ends and says so.
inline void CALLBACK closeWindowLeftOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    KeyInModalLoop &pending = pendingModalKey();
    pending.closeTimer = 0;
    if (!IsWindow(pending.window)) return;
    pending.stillOpen = true;
    PostMessageA(pending.window, WM_CLOSE, 0, 0);
}

// Call before entering the modal loop of the window; read pendingModalKey() afterwards. The timers of
// an earlier press are stopped first: a closer left running from a window that a key did close would
// otherwise fire inside this loop and close this window before its key is pressed.
inline void pressKeyOnceModal(WPARAM key, HWND window) {
    KeyInModalLoop &pending = pendingModalKey();
    if (pending.pressTimer) KillTimer(nullptr, pending.pressTimer);
    if (pending.closeTimer) KillTimer(nullptr, pending.closeTimer);
    pending = {key, window, nullptr, false, 0, 0, 0};
    pending.pressTimer = SetTimer(nullptr, 0, 50, pressPendingModalKey);
    pending.closeTimer = SetTimer(nullptr, 0, 1000, closeWindowLeftOpen);
}
