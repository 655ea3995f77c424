// The main window's load and close.
#include "ui/frm_main.h"
#include "errors/show_error.h"

void FrmMain::Form_Load() {
    txtSpacesToUse.setText("8");
    highlightOperation();
    ProgressBar1.setValue(0);
}

void FrmMain::Form_QueryUnload() {
    if (closing_) return;
    closing_ = true;
    ignoringErrors([&] { unloadOtherWindows(); });
}

void FrmMain::unloadOtherWindows() {
    unloadFrmErrorClipboard();
    unloadFrmError();
}
