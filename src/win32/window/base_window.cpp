#include "window/base_window.h"
#include "window/modal_loop.h"

#include <cstdio>

namespace {

void registerClassOnce(const char *className) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &existing)) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA; // replaced per window in createWindow
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    windowClass.hIcon = programIcon(32);
    windowClass.hIconSm = programIcon(16);
    RegisterClassExA(&windowClass);
}

} // namespace

HICON programIcon(int size) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

BaseWindow::~BaseWindow() { destroyWindow(); }

void BaseWindow::createWindow(const char *className, const char *caption, DWORD style, DWORD exStyle,
                              int clientWidth, int clientHeight, HWND owner, HMENU menu) {
    registerClassOnce(className);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
    HWND window = CreateWindowExA(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, owner, menu,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return;
    hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BaseWindow::windowProcedure));
    // A menu bar that wraps can change the client height; measure again once it is in place.
    RECT client;
    GetClientRect(window, &client);
    if (client.bottom != clientHeight) {
        RECT outer;
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top + clientHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void BaseWindow::destroyWindow() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    releaseModalOwner(window);
    DestroyWindow(window);
}

LRESULT BaseWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK BaseWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto *self = reinterpret_cast<BaseWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Forget the object first, so nothing during teardown calls into it.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        try {
            self->windowDestroyed();
        } catch (...) {
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (...) {
        // Every handler applies its own error policy; what still arrives here is dropped.
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
