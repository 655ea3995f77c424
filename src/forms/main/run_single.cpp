// The single-file run: its inputs checked in order, the source verified, then converted.
#include "failed/frm_error.h"
#include "desktop/show_error.h"
#include "desktop/desktop.h"
#include "path_checks.h"
#include "path_text.h"
#include "messages.h"
#include "main/run_warnings.h"
#include "main/frm_main.h"

namespace {

// True when the source and destination can be used; otherwise the user has been told.
bool singleInputsUsable(FrmMain &frm) {
    if (nothingChosen(frm.txtSource))
        return refused(frm, runText::chooseSourceFile);
    if (frm.txtDest.text() == placeholderText)
        return refused(frm, runText::defineDestinationFile);
    if (frm.txtDest.text().empty())
        return refused(frm, runText::chooseDestinationFile);
    if (!fileExists(frm.txtSource.text()))
        return refusedPathGone(frm, frm.txtSource, runText::sourceFileGone);
    if (!DirExists(filePart(frm.txtDest.text(), pathPart::folder)))
        return refusedPathGone(frm, frm.txtDest, runText::destinationFolderGone);
    return true;
}

} // namespace

void FrmMain::prevcmdReplaceTABSSingle() {
    guarded("frmMain - prevcmdReplaceTABSSingle", [&] {
        frmError().List2.clear();
        if (!singleInputsUsable(*this))
            return;
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
