// The main window's failure windows: loaded, hidden, on first use; a closed one is loaded afresh.
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "main/frm_main.h"

FrmError &FrmMain::frmError() {
    if (!frmErrorLoaded())
        frmErrorWindow_ = std::make_unique<FrmError>(hwnd());
    return static_cast<FrmError &>(*frmErrorWindow_);
}

FrmErrorClipboard &FrmMain::frmErrorClipboard() {
    if (!frmErrorClipboardLoaded())
        frmErrorClipboardWindow_ = std::make_unique<FrmErrorClipboard>(hwnd());
    return static_cast<FrmErrorClipboard &>(*frmErrorClipboardWindow_);
}

void FrmMain::unloadFrmError() { frmErrorWindow_.reset(); }
void FrmMain::unloadFrmErrorClipboard() { frmErrorClipboardWindow_.reset(); }
