#include "failed/frm_error.h"

#include "appdata.h"
#include "desktop/show_error.h"
#include "error_message.h"
#include "failed/frm_error_layout.h"
#include "locale_text.h"
#include "text_files.h"
#include "wide_text.h"
#include "window/controls.h"

#include <vector>

FrmError::FrmError(Desktop &desktop, Accessibility &accessibility, HWND owner)
    : FailureWindow(accessibility), desktop_(desktop) {
    const ControlMap made = loadHidden("QuillmereError", frmErrorClientWidthTwips, frmErrorClientHeightTwips,
                                       frmErrorLayout(), owner);
    if (made.empty()) return;
    bindShared(made);
    bind(List2, made, "List2");
    bind(cmdSave, made, "cmdSave");
    colours_.setText(List2.hwnd(), failedEntryColour);
    colours_.setButtonFaceBackground(List2.hwnd());
    names_.give(List2.hwnd(), "Files that could not be converted");
    watchMouse(List2.hwnd(), *this);
}

void FrmError::onClick(HWND control) {
    if (control == cmdSave.hwnd()) return cmdSave_Click();
    if (control == Command1.hwnd()) return Command1_Click();
}

void FrmError::childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE || control != List2.hwnd()) return;
    List2_MouseMove(mouseButtonState(wParam), 0, pointerTwips(static_cast<short>(LOWORD(lParam))),
                    pointerTwips(static_cast<short>(HIWORD(lParam))));
}

void FrmError::cmdSave_Click() {
    guarded(desktop_, "frmError - cmdSave_Click", [&] {
        std::vector<std::string> entries;
        for (int32_t i = 0; i < List2.listCount(); ++i) entries.push_back(List2.list(i));
        const std::string stamp = userShortDate() + " " + userTimeOfDay();
        const std::string log = appDataFolder(programFolder()) + dataFile::errorLog;
        // In the ANSI code page as earlier versions wrote it, unless a name has no form there.
        appendToFile(log, ansiWhereItFits(errorLogRecord(stamp, entries)));
        showMessage(desktop_, hwnd(), "Info was written to :\r\n" + log, "Log updated",
                    MB_OK | MB_ICONINFORMATION);
    });
}

void FrmError::Command1_Click() { unload(); }

void FrmError::List2_MouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(List2, button, x, y);
}
