// The folder run: its inputs checked in order, every listed file verified, the failed ones taken
// off the list, the rest converted, and the failures shown afterwards.
#include "errors/frm_error.h"
#include "errors/show_error.h"
#include "platform/desktop.h"
#include "run/path_checks.h"
#include "run/run_messages.h"
#include "run/run_warnings.h"
#include "platform/text_files.h"
#include "ui/picker_messages.h"
#include "ui/frm_main.h"

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
    // The same folder under another spelling would have every file converted in place.
    if (sameFileOnDisk(frm.txtMultipleFilesPath.text(), frm.txtMultipleFilesDestinationPath.text()))
        return refused(frm, pickerText::sameFolder);
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
        if (!replaceTABSwithSPACESVerifyMultiple()) {
            lblVerify.setCaption(runText::idle);
            ProgressBar1.setValue(0);
            return;
        }
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
