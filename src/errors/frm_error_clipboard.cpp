#include "errors/frm_error_clipboard.h"

#include "errors/frm_error_layout.h"

FrmErrorClipboard::FrmErrorClipboard(HWND owner) {
    const ControlMap made = loadHidden("QuillmereErrorClipboard", frmErrorClientWidthTwips,
                                       frmErrorClipboardClientHeightTwips, frmErrorClipboardLayout(), owner);
    if (made.empty())
        return;
    auto bind = [&](auto &wrapper, const char *name) {
        wrapper = std::remove_reference_t<decltype(wrapper)>(made.at(name), &tooltips_, &colours_);
    };
    bind(Label1, "Label1");
    bind(Label2, "Label2");
    bind(Image1, "Image1");
    bind(Command1, "Command1");
    keepDesignedSize(Label2.hwnd(), 4530, 540);
    colours_.setTransparent(Label1.hwnd());
    colours_.setTransparent(Label2.hwnd());
    SendMessageA(Image1.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(warningIcon()), 0);
}

LRESULT FrmErrorClipboard::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW && wParam)
        Command1.setFocus();
    return FailureWindow::handleMessage(message, wParam, lParam);
}

void FrmErrorClipboard::onClick(HWND control) {
    if (control == Command1.hwnd())
        Command1_Click();
}

void FrmErrorClipboard::Command1_Click() { unload(); }
