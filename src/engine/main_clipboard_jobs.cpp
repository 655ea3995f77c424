// The clipboard jobs of the main window.
#include "engine/clipboard_text.h"
#include "engine/file_jobs.h"
#include "engine/main_job_helpers.h"
#include "errors/show_error.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"

void FrmMain::replaceTABSwithSPACESVerifyClipboard() {
    guarded("frmMain - replaceTABSwithSPACESVerifyClipboard", [&] {
        KillTempFile1();
        KillTempFile2();
        if (!clipboardHasText()) {
            showMessage(hwnd(), job::noTextOnClipboard, "Too bad...", MB_OK | MB_ICONEXCLAMATION);
            lblHDDENTextonClipboard.setCaption("no");
            return;
        }
        const std::string stored = temporaryPath("TEMP.txt");
        tEXTO = trimSpaces(stored);
        markingFailedInput([&] { storeClipboardText(stored); }, [&] { recordFailedInput(*this); });
        markingFailedInput([&] { verifyInput(tEXTO); }, [&] { recordFailedInput(*this); });
        lblHDDENTextonClipboard.setCaption("yes");
    });
}

void FrmMain::replaceTWSfixedClipboard() {
    guarded("frmMain - replaceTWSfixedClipboard", [&] {
        const int16_t width = spacesNumber(*this);
        FileName2 = temporaryPath("TEMP2.txt");
        replaceClipboardText(hwnd(), tabStopClipboardText(temporaryPath("TEMP.txt"), FileName2, width));
        KillTempFile1();
        KillTempFile2();
        showCompletion(*this, job::onClipboard);
    });
}

void FrmMain::replaceTABSwithSPACESClipboard() {
    guarded("frmMain - replaceTABSwithSPACESClipboard", [&] {
        tEXTO = temporaryPath("TEMP.txt");
        replaceClipboardText(hwnd(), fixedSpacesClipboardText(tEXTO, [&] { return spacesNumber(*this); }));
        KillTempFile1();
        showCompletion(*this, job::onClipboard);
    });
}
