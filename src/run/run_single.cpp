// The single-file run: its inputs checked in order, the source verified, then converted.
#include "errors/frm_error.h"
#include "errors/show_error.h"
#include "platform/desktop.h"
#include "run/path_checks.h"
#include "run/path_text.h"
#include "run/run_messages.h"
#include "run/run_warnings.h"
#include "ui/frm_main.h"

namespace {

// True when the source and destination can be used; otherwise the user has been told.
bool singleInputsUsable(FrmMain &frm) {
    if (nothingChosen(frm.txtSource)) return warnAttention(frm, runText::chooseSourceFile), false;
    if (frm.txtDest.text() == placeholderText) return warnAttention(frm, runText::defineDestinationFile), false;
    if (frm.txtDest.text().empty()) return warnAttention(frm, runText::chooseDestinationFile), false;
    if (!fileExists(frm.txtSource.text()))
        return warnPathGone(frm, frm.txtSource, runText::sourceFileGone), false;
    if (!DirExists(filePart(frm.txtDest.text(), pathPart::folder)))
        return warnPathGone(frm, frm.txtDest, runText::destinationFolderGone), false;
    return true;
}

} // namespace

void FrmMain::prevcmdReplaceTABSSingle() {
    guarded("frmMain - prevcmdReplaceTABSSingle", [&] {
        frmError().List2.clear();
        if (!singleInputsUsable(*this)) return;
        replaceTABSwithSPACESVerifySingle();
        if (frmError().List2.listCount() > 0) {
            desktop().beep();
            desktop().showModal(frmError(), hwnd());
            return;
        }
        if (optFixedTABS.value())
            replaceTWSfixedSingle();
        else
            replaceTABSwithSPACESSingle();
        cmdGetSourceFile.setFocus();
    });
}
