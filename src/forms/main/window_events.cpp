// The main window's smaller events: load, close, help, hints, the about window, the operation highlight
// and the failed-files windows it owns.
#include "about/frm_about.h"
#include "appdata.h"
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "file_run.h"
#include "folders.h"
#include "main/frm_main.h"
#include "messages.h"

void FrmMain::Form_Load() { restoreSettings(); }

void FrmMain::Form_QueryUnload() {
    if (closing_) return;
    closing_ = true;
    ignoringErrors([&] { saveSettings(); });
    ignoringErrors([&] { KillTempFile1(); });
    ignoringErrors([&] { KillTempFile2(); });
    ignoringErrors([&] { unloadOtherWindows(); });
}

// A logoff or shut-down during a run: the system shows the user why the program holds it up.
LRESULT FrmMain::sessionEnding() {
    if (runInProgress() && !sessionHeld_) {
        desktop_.holdSessionEnd(hwnd(), runText::savingConvertedFiles);
        sessionHeld_ = true;
    }
    return TRUE;
}

// The session ends once this returns. During a run the settings are saved and the files already
// converted are put in place; the run stops before its next file, and the files after it are left as
// they were.
void FrmMain::sessionEnds(bool ending) {
    if (!ending) return releaseSessionEnd();
    if (!runInProgress()) {
        Form_QueryUnload();
        destroyWindow();
        return;
    }
    ignoringErrors([&] { saveSettings(); });
    deferCloseDuringRun();
    if (runUnderWay_) runUnderWay_->putConvertedInPlace();
    releaseSessionEnd();
}

void FrmMain::releaseSessionEnd() {
    if (!sessionHeld_) return;
    sessionHeld_ = false;
    desktop_.releaseSessionEnd(hwnd());
}

void FrmMain::unloadOtherWindows() {
    ignoringErrors([&] { unloadFrmErrorClipboard(); });
    ignoringErrors([&] { unloadFrmError(); });
}

// Shift, Ctrl and Alt do not matter: any F1 is a call for help.
void FrmMain::Form_KeyDown(int16_t keyCode, int16_t) {
    guarded("frmMain - Form_KeyDown", [&] {
        if (keyCode == VK_F1) menuHelp_Click();
    });
}

void FrmMain::menuHelp_Click() {
    guarded("frmMain - menuHelp_Click (F1)", [&] {
        const std::string readme = programFolder() + "\\readme.txt";
        if (!fileExists(readme)) {
            showMessage(helpText::readmeMissing, helpText::readmeMissingTitle, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        // Notepad takes the rest of its command line as the file name, blanks and all.
        if (!desktop_.startProgram("notepad.exe " + readme, SW_SHOWNORMAL)) raiseError(err::FileNotFound);
    });
}

void FrmMain::pathBox_MouseMove(TextBox &box) { box.setToolTipText(box.text()); }

void FrmMain::txtSpacesToUse_MouseDown() { UpDown1.setFocus(); }

void FrmMain::cmdAbout_Click() {
    FrmAbout about(desktop_, accessibility_, hwnd());
    about.load();
    if (!about.hwnd()) return;
    desktop_.showModal(about, hwnd());
}

void FrmMain::highlightOperation() {
    for (OptionButton *option : {&optClipboard, &optSingle, &optMultiple}) {
        if (option->value())
            option->setForeColor(operationSelectedColour, COLOR_HIGHLIGHT);
        else
            option->setForeColor(operationOtherColour, COLOR_BTNTEXT);
    }
}

FrmError &FrmMain::frmError() {
    if (!frmErrorLoaded()) frmErrorWindow_ = std::make_unique<FrmError>(desktop_, accessibility_, hwnd());
    return static_cast<FrmError &>(*frmErrorWindow_);
}

FrmErrorClipboard &FrmMain::frmErrorClipboard() {
    if (!frmErrorClipboardLoaded())
        frmErrorClipboardWindow_ = std::make_unique<FrmErrorClipboard>(accessibility_, hwnd());
    return static_cast<FrmErrorClipboard &>(*frmErrorClipboardWindow_);
}

void FrmMain::unloadFrmError() { frmErrorWindow_.reset(); }
void FrmMain::unloadFrmErrorClipboard() { frmErrorClipboardWindow_.reset(); }
