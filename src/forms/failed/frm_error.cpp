#include "failed/frm_error.h"

#include "appdata.h"
#include "desktop/show_error.h"
#include "error_message.h"
#include "failed/frm_error_layout.h"
#include "locale_text.h"
#include "text_files.h"
#include "wide_text.h"
#include "window/controls.h"

FrmError::FrmError(Desktop &desktop, Accessibility &accessibility, HWND owner)
    : FailureWindow(accessibility), desktop_(desktop) {
    if (!loadHidden("QuillmereError", frmErrorClientWidthTwips, frmErrorClientHeightTwips, frmErrorLayout(),
                    owner))
        return;
    bindOwn(controls_, controlTable);
    const HWND list = controls_.failedFilesList.hwnd();
    colours_.setText(list, failedEntryColour);
    colours_.setButtonFaceBackground(list);
    names_.give(list, "Files that could not be converted");
    watchMouse(list, *this);
}

void FrmError::addFailedFile(const std::string &path) { controls_.failedFilesList.addItem(path); }

bool FrmError::lists(const std::string &path) const {
    const ListBox &list = controls_.failedFilesList;
    for (int32_t i = 0; i < list.listCount(); ++i)
        if (list.list(i) == path) return true;
    return false;
}

std::vector<std::string> FrmError::failedFiles() const { return controls_.failedFilesList.items(); }

int32_t FrmError::failedFileCount() const { return controls_.failedFilesList.listCount(); }

void FrmError::clearFailedFiles() { controls_.failedFilesList.clear(); }

void FrmError::onClick(HWND control) {
    if (control == controls_.saveButton.hwnd()) saveClicked();
}

void FrmError::childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE || control != controls_.failedFilesList.hwnd()) return;
    failedListMouseMove(mouseButtonState(wParam), 0, pointerTwips(static_cast<short>(LOWORD(lParam))),
                        pointerTwips(static_cast<short>(HIWORD(lParam))));
}

void FrmError::saveClicked() {
    guarded(desktop_, "frmError - cmdSave_Click", [&] {
        const std::vector<std::string> entries = failedFiles();
        const std::string stamp = userShortDate() + " " + userTimeOfDay();
        const std::string log = appDataFolder(programFolder()) + dataFile::errorLog;
        // In the ANSI code page as earlier versions wrote it, unless a name has no form there.
        appendToFile(log, ansiWhereItFits(errorLogRecord(stamp, entries)));
        showMessage(desktop_, hwnd(), "Info was written to :\r\n" + log, "Log updated",
                    MB_OK | MB_ICONINFORMATION);
    });
}

void FrmError::failedListMouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(controls_.failedFilesList, button, x, y);
}
