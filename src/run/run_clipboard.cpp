// The clipboard run: no inputs to check; the clipboard's text is verified, then converted.
#include "errors/frm_error.h"
#include "errors/frm_error_clipboard.h"
#include "errors/show_error.h"
#include "platform/desktop.h"
#include "ui/frm_main.h"

void FrmMain::prevcmdReplaceTABSClipboard() {
    guarded("frmMain - prevcmdReplaceTABSClipboard", [&] {
        frmError().List2.clear();
        if (!replaceTABSwithSPACESVerifyClipboard())
            return;
        if (frmError().List2.listCount() > 0) {
            desktop().beep();
            desktop().showModal(frmErrorClipboard(), hwnd());
            return;
        }
        if (lblHDDENTextonClipboard.caption() == "no")
            return;
        if (optFixedTABS.value())
            replaceTWSfixedClipboard();
        else
            replaceTABSwithSPACESClipboard();
    });
}
