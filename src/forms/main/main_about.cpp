// The About button: the about window, modal over the main window.
#include "about/frm_about.h"
#include "main/frm_main.h"

void FrmMain::cmdAbout_Click() {
    FrmAbout about(hwnd());
    about.load();
    if (!about.hwnd()) return;
    desktop().showModal(about, hwnd());
}
