// The main window's smaller events: load, close, the end of the session, help, hints, the about window,
// the operation highlight and the failed-files windows it owns.
#include "about/frm_about.h"
#include "appdata.h"
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "file_run.h"
#include "folders.h"
#include "main/frm_main.h"
#include "messages.h"

void FrmMain::loaded() { restoreSettings(); }

void FrmMain::closing() {
    if (closing_) return;
    closing_ = true;
    ignoringErrors([&] { saveSettings(); });
    ignoringErrors([&] { removeTemporaryFile(); });
    ignoringErrors([&] { removeSecondTemporaryFile(); });
    ignoringErrors([&] { unloadOtherWindows(); });
}

// A logoff or shut-down during a run: the system shows the user why the program holds it up.
LRESULT FrmMain::sessionEnding() {
    if (run_.running && !sessionHeld_) {
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
    if (!run_.running) {
        closing();
        destroyWindow();
        return;
    }
    ignoringErrors([&] { saveSettings(); });
    deferCloseDuringRun();
    if (run_.underWay) run_.underWay->putConvertedInPlace();
    releaseSessionEnd();
}

// The end of the session, held while a run put its files in place, is let go.
void FrmMain::releaseSessionEnd() {
    if (!sessionHeld_) return;
    sessionHeld_ = false;
    desktop_.releaseSessionEnd(hwnd());
}

void FrmMain::unloadOtherWindows() {
    ignoringErrors([&] { failedClipboardWindow_.reset(); });
    ignoringErrors([&] { failedFilesWindow_.reset(); });
}

// Shift, Ctrl and Alt do not matter: any F1 is a call for help.
void FrmMain::keyDown(int16_t keyCode, int16_t) {
    guarded("frmMain - Form_KeyDown", [&] {
        if (keyCode == VK_F1) helpClicked();
    });
}

void FrmMain::helpClicked() {
    guarded("frmMain - menuHelp_Click (F1)", [&] {
        const std::string readme = programFolder() + "\\readme.txt";
        if (!fileExists(readme)) {
            tellUser(helpText::readmeMissing, helpText::readmeMissingTitle, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        // Notepad takes the rest of its command line as the file name, blanks and all.
        if (!desktop_.startProgram("notepad.exe " + readme, SW_SHOWNORMAL)) raiseError(err::FileNotFound);
    });
}

void FrmMain::pathBoxMouseMove(TextBox &box) { box.setToolTipText(box.text()); }

void FrmMain::spacesBoxMouseDown() { controls_.spacesUpDown.setFocus(); }

void FrmMain::aboutClicked() {
    FrmAbout about(desktop_, accessibility_, hwnd());
    about.load();
    if (!about.hwnd()) return;
    desktop_.showModal(about, hwnd());
}

void FrmMain::highlightOperation() {
    Controls &c = controls_;
    for (OptionButton *option : {&c.clipboardOption, &c.singleFileOption, &c.multipleFilesOption}) {
        if (option->value())
            option->setForeColor(operationSelectedColour, COLOR_HIGHLIGHT);
        else
            option->setForeColor(operationOtherColour, COLOR_BTNTEXT);
    }
}

// As a click on the option does: it is selected, and highlighted.
void FrmMain::selectOperation(OptionButton &operation) {
    operation.setValue(true);
    highlightOperation();
}

// A run's failed inputs: a beep, the taskbar button red, and the window that lists them, until the
// user closes it.
void FrmMain::showFailures(ModalWindow &window) {
    runProgress_.failedFilesShown();
    desktop_.beep();
    desktop_.showModal(window, hwnd());
}

FrmError &FrmMain::failedFilesWindow() {
    if (!failedFilesWindowLoaded())
        failedFilesWindow_ = std::make_unique<FrmError>(desktop_, accessibility_, hwnd());
    return static_cast<FrmError &>(*failedFilesWindow_);
}

FrmErrorClipboard &FrmMain::failedClipboardWindow() {
    if (!failedClipboardWindowLoaded())
        failedClipboardWindow_ = std::make_unique<FrmErrorClipboard>(accessibility_, hwnd());
    return static_cast<FrmErrorClipboard &>(*failedClipboardWindow_);
}

bool FrmMain::failedFilesWindowLoaded() const { return failedFilesWindow_ && failedFilesWindow_->isLoaded(); }

bool FrmMain::failedClipboardWindowLoaded() const {
    return failedClipboardWindow_ && failedClipboardWindow_->isLoaded();
}
