#include "window/mouse_watch.h"
#include "window/layout.h"

#include <commctrl.h>

namespace {

LRESULT CALLBACK mouseSubclass(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR listener) noexcept {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, mouseSubclass, 1);
        return DefSubclassProc(control, message, wParam, lParam);
    }
    // The control acts first (an edit box takes the focus on a press), then the window hears of
    // it, so a handler that moves the focus elsewhere has the last word.
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        try {
            reinterpret_cast<MouseListener *>(listener)->childMouse(control, message, wParam, lParam);
        } catch (...) {
            // A mouse hint that fails is dropped; nothing may unwind into the system.
        }
        break;
    }
    return result;
}

} // namespace

void watchMouse(HWND control, MouseListener &listener) {
    SetWindowSubclass(control, mouseSubclass, 1, reinterpret_cast<DWORD_PTR>(&listener));
}

int16_t mouseButtonState(WPARAM wParam) {
    return static_cast<int16_t>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                ((wParam & MK_MBUTTON) ? 4 : 0));
}

float pointerTwips(short pixels) { return static_cast<float>(pixelsToTwips(pixels, screenDpi())); }
