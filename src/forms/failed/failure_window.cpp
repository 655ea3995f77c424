#include "failed/failure_window.h"
#include "window/window_place.h"

ControlMap FailureWindow::loadHidden(const char *className, int clientWidthTwips, int clientHeightTwips,
                                     std::span<const ControlRow> table, HWND owner) {
    const int dpi = screenDpi();
    createWindow(className, failureWindowCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW,
                 twipsToPixels(clientWidthTwips, dpi), twipsToPixels(clientHeightTwips, dpi), owner);
    if (!hwnd()) return {};
    font_.reset(createDialogFont(8));
    tooltips_.attach(hwnd());
    ControlMap made = createControls(hwnd(), table, static_cast<HFONT>(font_.get()), tooltips_);

    centreOver(hwnd(), owner);
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
    SendMessageW(Image1.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(warning_.get()), 0);
}

LRESULT FailureWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = colours_.answerMessage(message, wParam, lParam)) return *answer;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) Command1.setFocus(); // "&Proceed" first, whatever the tab order
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
    case WM_CLOSE: unload(); return 0;
    }
    return BaseWindow::handleMessage(message, wParam, lParam);
}

HICON warningIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
