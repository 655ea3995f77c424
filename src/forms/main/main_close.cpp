// The main window's close request, whatever raised it (Exit, Esc, the close box, the system shutting
// down). It is never refused, and each step is attempted on its own.
#include "desktop/show_error.h"
#include "main/frm_main.h"

void FrmMain::Form_QueryUnload() {
    if (closing_)
        return;
    closing_ = true;
    ignoringErrors([&] { saveSettings(); });
    ignoringErrors([&] { KillTempFile1(); });
    ignoringErrors([&] { KillTempFile2(); });
    ignoringErrors([&] { unloadOtherWindows(); });
}

void FrmMain::unloadOtherWindows() {
    ignoringErrors([&] { unloadFrmErrorClipboard(); });
    ignoringErrors([&] { unloadFrmError(); });
}
