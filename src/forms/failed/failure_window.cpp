#include "failed/failure_window.h"
#include "window/window_place.h"

bool FailureWindow::loadHidden(const char *className, int clientWidthTwips, int clientHeightTwips,
                               std::span<const ControlRow> table, HWND owner) {
    createWindow(className, failureWindowCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW,
                 clientWidthTwips, clientHeightTwips, owner, BaseWindow::dpiOf(owner));
    if (!hwnd()) return false;
    tooltips_.attach(hwnd());
    madeControls_.create(hwnd(), table, tooltips_, dpi());
    bindOwn(shared_, sharedControlTable);
    colours_.setTransparent(shared_.headingLabel.hwnd());
    colours_.setTransparent(shared_.adviceLabel.hwnd());
    showWarningPicture();
    centreOver(hwnd(), owner);
    return true;
}

// The picture has its designed size at every scale (32 pixels at 96 DPI), drawn from an icon of that
// size rather than stretched.
void FailureWindow::showWarningPicture() {
    RECT designed;
    GetClientRect(shared_.warningPicture.hwnd(), &designed);
    const HICON icon = warningIcon(designed.right > 0 ? designed.right : 32);
    SendMessageW(shared_.warningPicture.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    warning_.reset(icon); // the old icon goes once the picture no longer shows it
}

void FailureWindow::layOutAtDpi(int dpi) {
    madeControls_.layOut(dpi);
    showWarningPicture();
}

// Loaded on its first use in a run and kept hidden between showings, the window may have been made
// before its owner went to a monitor of another scale: it takes the owner's scale when it shows.
void FailureWindow::followOwnerScale() {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    const int ownerDpi = BaseWindow::dpiOf(owner);
    if (ownerDpi == dpi()) return;
    rescaleTo(ownerDpi);
    centreOver(hwnd(), owner);
}

LRESULT FailureWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = colours_.answerMessage(message, wParam, lParam)) return *answer;
    switch (message) {
    case WM_SHOWWINDOW:
        if (!wParam) break;
        followOwnerScale();
        shared_.proceedButton.setFocus(); // "&Proceed" first, whatever the tab order
        break;
    case WM_COMMAND:
        // Enter and Esc arrive from the keyboard handling as OK and Cancel without a control.
        if (!lParam && LOWORD(wParam) == IDOK)
            pressFocusedPushButton(hwnd());
        else if (!lParam && LOWORD(wParam) == IDCANCEL)
            unload();
        else if (HIWORD(wParam) == BN_CLICKED &&
                 lParam == reinterpret_cast<LPARAM>(shared_.proceedButton.hwnd()))
            unload();
        else if (HIWORD(wParam) == BN_CLICKED && lParam)
            onClick(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CLOSE: unload(); return 0;
    case WM_DESTROY: names_.takeBackAll(); break;
    }
    return BaseWindow::handleMessage(message, wParam, lParam);
}

HICON warningIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
