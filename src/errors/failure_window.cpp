#include "errors/failure_window.h"

ControlMap FailureWindow::loadHidden(const char *className, int clientWidthTwips, int clientHeightTwips,
                                     std::span<const ControlSpec> table, HWND owner) {
    const int dpi = screenDpi();
    createWindow(className, failureWindowCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW,
                 twipsToPixels(clientWidthTwips, dpi), twipsToPixels(clientHeightTwips, dpi), owner);
    if (!hwnd())
        return {};
    font_.reset(createDialogFont(8));
    tooltips_.attach(hwnd());
    ControlMap made = createControls(hwnd(), table, static_cast<HFONT>(font_.get()), tooltips_);

    RECT outer, over;
    GetWindowRect(hwnd(), &outer);
    if (!owner || !GetWindowRect(owner, &over))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &over, 0);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    SetWindowPos(hwnd(), nullptr, over.left + (over.right - over.left - width) / 2,
                 over.top + (over.bottom - over.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return made;
}

void FailureWindow::bindShared(const ControlMap &made) {
    bind(Label1, made, "Label1");
    bind(Label2, made, "Label2");
    bind(Image1, made, "Image1");
    bind(Command1, made, "Command1");
    colours_.setTransparent(Label1.hwnd());
    colours_.setTransparent(Label2.hwnd());
    // The picture keeps its designed size at every screen scale: 32 pixels at 96 DPI.
    RECT designed;
    GetClientRect(Image1.hwnd(), &designed);
    warning_.reset(warningIcon(designed.right > 0 ? designed.right : 32));
    SendMessageA(Image1.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(warning_.get()), 0);
}

LRESULT FailureWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam)
            Command1.setFocus(); // "&Proceed" first, whatever the tab order
        break;
    case WM_COMMAND:
        // Enter and Esc arrive from the keyboard handling as OK and Cancel without a control.
        if (!lParam && LOWORD(wParam) == IDOK)
            pressFocusedPushButton(hwnd());
        else if (!lParam && LOWORD(wParam) == IDCANCEL)
            unload();
        else if (HIWORD(wParam) == BN_CLICKED && lParam)
            onClick(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (auto answer = colours_.answer(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return *answer;
        break;
    case WM_CLOSE: unload(); return 0;
    }
    return BaseWindow::handleMessage(message, wParam, lParam);
}

HICON warningIcon(int size) {
    return static_cast<HICON>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(32515) /* IDI_WARNING */, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
