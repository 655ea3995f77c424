// F1 and the Help command: the readme beside the program, opened in Notepad.
#include "appdata.h"
#include "desktop/show_error.h"
#include "path_checks.h"
#include "main/frm_main.h"

namespace {

constexpr int16_t keyF1 = 112;

} // namespace

// Shift, Ctrl and Alt do not matter: any F1 is a call for help.
void FrmMain::Form_KeyDown(int16_t keyCode, int16_t) {
    guarded("frmMain - Form_KeyDown", [&] {
        if (keyCode == keyF1) menuHelp_Click();
    });
}

void FrmMain::menuHelp_Click() {
    guarded("frmMain - menuHelp_Click (F1)", [&] {
        const std::string readme = programFolder() + "\\readme.txt";
        if (!fileExists(readme)) {
            showMessage(hwnd(), "The Quillmere readme.txt seems to be missing...", "Oops",
                        MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        // Notepad takes the rest of its command line as the file name, blanks and all.
        if (!desktop().startProgram("notepad.exe " + readme, SW_SHOWNORMAL)) raiseError(err::FileNotFound);
    });
}
