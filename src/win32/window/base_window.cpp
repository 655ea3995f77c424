#include "window/base_window.h"
#include "wide_text.h"
#include "window/modal_loop.h"

#include <cstdio>

namespace {

// Registered with the wide call, so the windows of the class and the controls on them hold Unicode text.
void registerClassOnce(const wchar_t *className) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW; // replaced per window in createWindow
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    windowClass.hIcon = programIcon(32);
    windowClass.hIconSm = programIcon(16);
    RegisterClassExW(&windowClass);
}

} // namespace

HICON programIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

BaseWindow::~BaseWindow() { destroyWindow(); }

void BaseWindow::createWindow(const char *className, const char *caption, DWORD style, DWORD exStyle,
                              int clientWidth, int clientHeight, HWND owner, HMENU menu) {
    const std::wstring wideClass = toWide(className);
    registerClassOnce(wideClass.c_str());
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
    HWND window = CreateWindowExW(exStyle, wideClass.c_str(), toWide(caption ? caption : "").c_str(), style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, owner, menu, GetModuleHandleW(nullptr), nullptr);
    if (!window) return;
    hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BaseWindow::windowProcedure));
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
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK BaseWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept {
    auto *self = reinterpret_cast<BaseWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Forget the object first, so nothing during teardown calls into it.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        try {
            self->windowDestroyed();
        } catch (...) {
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (...) {
        // Every handler applies its own error policy; what still arrives here is dropped.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
