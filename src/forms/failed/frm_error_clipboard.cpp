#include "failed/frm_error_clipboard.h"

#include "failed/frm_error_layout.h"

FrmErrorClipboard::FrmErrorClipboard(Accessibility &accessibility, HWND owner)
    : FailureWindow(accessibility) {
    const ControlMap made = loadHidden("QuillmereErrorClipboard", frmErrorClientWidthTwips,
                                       frmErrorClipboardClientHeightTwips, frmErrorClipboardLayout(), owner);
    if (made.empty()) return;
    bindShared(made);
}

void FrmErrorClipboard::onClick(HWND control) {
    if (control == Command1.hwnd()) Command1_Click();
}

void FrmErrorClipboard::Command1_Click() { unload(); }
