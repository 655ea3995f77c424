#include "window/base_window.h"
#include "twips.h"
#include "wide_text.h"
#include "window/dpi.h"
#include "window/layout.h"
#include "window/modal_loop.h"

namespace {

// Not in the headers of a program for Windows 7: Windows 10 (1703) asks a per-monitor window for its
// size at a new DPI before it offers the rectangle of WM_DPICHANGED.
constexpr UINT getDpiScaledSizeMessage = 0x02E4; // WM_GETDPISCALEDSIZE

// Registered with the wide call, so the windows of the class and the controls on them hold Unicode text.
void registerClassOnce(const wchar_t *className, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    windowClass.hIcon = programIcon(32);
    windowClass.hIconSm = programIcon(16);
    RegisterClassExW(&windowClass);
}

// Common controls learn of new system colours only from their window (WM_SYSCOLORCHANGE goes to
// top-level windows alone).
BOOL CALLBACK passColourChange(HWND control, LPARAM) noexcept {
    SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

// A setting that changes how the windows are coloured: high contrast turned on or off, or another
// theme or contrast theme picked in Settings.
bool isSchemeSetting(WPARAM wParam, LPARAM lParam) {
    if (wParam == SPI_SETHIGHCONTRAST) return true;
    const auto area = reinterpret_cast<const wchar_t *>(lParam);
    return area && lstrcmpW(area, L"WindowsThemeElement") == 0;
}

} // namespace

HICON programIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

BaseWindow::~BaseWindow() { destroyWindow(); }

int BaseWindow::dpiOf(HWND window) {
    if (!window) return screenDpi();
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&BaseWindow::windowProcedure))
        if (const auto *self = reinterpret_cast<const BaseWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            return self->dpi_;
    return systemDpiOfWindow(window);
}

void BaseWindow::createWindow(const char *className, const char *caption, DWORD style, DWORD exStyle,
                              int clientWidthTwips, int clientHeightTwips, HWND owner, int dpi, HMENU menu) {
    const std::wstring wideClass = toWide(className);
    registerClassOnce(wideClass.c_str(), &BaseWindow::windowProcedure);
    dpi_ = dpi;
    clientWidthTwips_ = clientWidthTwips;
    clientHeightTwips_ = clientHeightTwips;
    const SIZE client = designClientSize(dpi);
    const RECT frame = frameAroundClient({0, 0, client.cx, client.cy}, style, menu != nullptr, exStyle, dpi);
    // The object comes with the creation's parameter, so WM_NCCREATE and WM_CREATE reach it too.
    CreateWindowExW(exStyle, wideClass.c_str(), toWide(caption ? caption : "").c_str(), style, CW_USEDEFAULT,
                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, menu,
                    GetModuleHandleW(nullptr), this);
    // A menu bar that wraps can change the client height; measure again once it is in place.
    if (hwnd_) fitClientToDesign();
}

void BaseWindow::destroyWindow() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    releaseModalOwner(window);
    DestroyWindow(window);
}

SIZE BaseWindow::designClientSize(int dpi) const {
    return {twipsToPixels(clientWidthTwips_, dpi), twipsToPixels(clientHeightTwips_, dpi)};
}

// The frame of a window at another DPI need not scale as its client area does (Windows 8.1 keeps it,
// and a menu bar may wrap): the client area is measured and the window made to fit the design.
void BaseWindow::fitClientToDesign() {
    const SIZE wanted = designClientSize(dpi_);
    RECT client, outer;
    GetClientRect(hwnd_, &client);
    if (client.right == wanted.cx && client.bottom == wanted.cy) return;
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + wanted.cx - client.right,
                 outer.bottom - outer.top + wanted.cy - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool BaseWindow::scaledSizeFor(int dpi, SIZE &size) const {
    const SIZE client = designClientSize(dpi);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    const RECT frame =
        frameAroundClient({0, 0, client.cx, client.cy}, style, GetMenu(hwnd_) != nullptr, exStyle, dpi);
    size = {frame.right - frame.left, frame.bottom - frame.top};
    return true;
}

// Windows suggests where the window goes at the new scale: it goes there, with the client area of its
// design, and then its contents are laid out anew.
LRESULT BaseWindow::onDpiChanged(int dpi, const RECT &suggested) {
    if (dpi <= 0) return 0;
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fitClientToDesign();
    layOutAtDpi(dpi);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}

// Every control takes the new colours at once, not when something happens to repaint it.
void BaseWindow::onSchemeChanged() {
    colourSchemeChanged();
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void BaseWindow::rescaleTo(int dpi) {
    if (!hwnd_ || dpi == dpi_) return;
    RECT place;
    GetWindowRect(hwnd_, &place);
    onDpiChanged(dpi, place);
}

void BaseWindow::followSystemDpi() {
    if (hwnd_) rescaleTo(systemDpiOfWindow(hwnd_));
}

LRESULT BaseWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DPICHANGED: return onDpiChanged(dpiOfChange(wParam), *reinterpret_cast<const RECT *>(lParam));
    case getDpiScaledSizeMessage:
        return scaledSizeFor(static_cast<int>(wParam), *reinterpret_cast<SIZE *>(lParam)) ? TRUE : FALSE;
    case WM_SYSCOLORCHANGE:
        EnumChildWindows(hwnd_, passColourChange, 0);
        onSchemeChanged();
        return 0;
    case WM_THEMECHANGED: onSchemeChanged(); break;
    case WM_SHOWWINDOW:
        // Shown by the program, not brought back with its owner (which keeps what the user saw).
        if (wParam && lParam == 0) hideKeyboardCuesUntilUsed(hwnd_);
        break;
    case WM_SETTINGCHANGE:
        if (isSchemeSetting(wParam, lParam)) onSchemeChanged();
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK BaseWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto *self =
            static_cast<BaseWindow *>(reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
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
