// The clipboard run: no inputs to check; the clipboard's text is verified, then converted.
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "desktop/show_error.h"
#include "desktop/desktop.h"
#include "main/frm_main.h"

void FrmMain::prevcmdReplaceTABSClipboard() {
    guarded("frmMain - prevcmdReplaceTABSClipboard", [&] {
        frmError().List2.clear();
        replaceTABSwithSPACESVerifyClipboard();
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
