// The folder run: its inputs checked in order, every listed file verified, the failed ones taken
// off the list, the rest converted, and the failures shown afterwards.
#include "failed/frm_error.h"
#include "desktop/show_error.h"
#include "desktop/desktop.h"
#include "path_checks.h"
#include "messages.h"
#include "main/run_warnings.h"
#include "main/frm_main.h"

namespace {

// True when both folders can be used and files are listed; otherwise the user has been told.
bool folderInputsUsable(FrmMain &frm) {
    if (nothingChosen(frm.txtMultipleFilesPath))
        return refused(frm, runText::chooseSourceFolder);
    if (nothingChosen(frm.txtMultipleFilesDestinationPath))
        return refused(frm, runText::defineDestinationFolder);
    if (!DirExists(frm.txtMultipleFilesPath.text()))
        return refusedPathGone(frm, frm.txtMultipleFilesPath, runText::sourceFolderGone);
    if (!DirExists(frm.txtMultipleFilesDestinationPath.text()))
        return refusedPathGone(frm, frm.txtMultipleFilesDestinationPath, runText::destinationFolderGone);
    // The list as it was last built: the folder is not searched again here.
    if (frm.List1.listCount() == 0)
        return refusedNoFiles(frm);
    return true;
}

void dropFailedFiles(FrmMain &frm) {
    frm.removeErroredFiles();
    const std::string count = std::to_string(frm.List1.listCount());
    frm.lblHDDENnrOfFiles.setCaption(count);
    frm.lblNumberofiles.setCaption(count + " files");
    if (count == "1")
        frm.lblNumberofiles.setCaption(count + " file");
}

bool anyFailed(FrmMain &frm) { return frm.frmError().List2.listCount() > 0; }

} // namespace

void FrmMain::prevcmdReplaceTABSMultiple() {
    guarded("frmMain - prevcmdReplaceTABSMultiple", [&] {
        ProgressBar1.setValue(0);
        frmError().List2.clear();
        if (!folderInputsUsable(*this))
            return;
        lblVerify.setCaption(runText::verifying);
        replaceTABSwithSPACESVerifyMultiple();
        if (anyFailed(*this))
            dropFailedFiles(*this);
        lblVerify.setCaption(runText::converting);
        if (optFixedTABS.value())
            replaceTWSfixedMultiple();
        else
            replaceTABSwithSPACESMultiple();
        if (anyFailed(*this)) {
            desktop().beep();
            desktop().showModal(frmError(), hwnd());
        }
        lblVerify.setCaption(runText::idle);
        ProgressBar1.setValue(0);
        cmdGetSourceFile.setFocus();
    });
}
