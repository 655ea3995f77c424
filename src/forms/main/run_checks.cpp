// The run button and its three sequences: the inputs checked in order, then verified, then converted.
// A folder run lets the window handle its messages between files, a single-file run between blocks, so
// a second press of the button can arrive meanwhile; it is ignored. The wait cursor shows while a run
// works.
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "folders.h"
#include "main/frm_main.h"
#include "messages.h"
#include "path_text.h"
#include "run_inputs.h"

namespace {

bool refused(FrmMain &frm, const std::string &text) {
    frm.showMessage(text, runText::attentionTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool refusedNoFiles(FrmMain &frm) {
    frm.showMessage(runText::noFilesAvailable, runText::noFilesTitle, MB_OK | MB_ICONINFORMATION);
    return false;
}

bool refusedPathGone(FrmMain &frm, TextBox &box, const std::string &text) {
    refused(frm, text);
    box.setText(placeholderText);
    return false;
}

} // namespace

namespace {

class RunInProgress {
public:
    explicit RunInProgress(FrmMain &frm) : frm_(frm) {
        frm_.setRunInProgress(true);
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
    ~RunInProgress() {
        frm_.runProgress.end();
        frm_.setRunInProgress(false);
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    }
    RunInProgress(const RunInProgress &) = delete;
    RunInProgress &operator=(const RunInProgress &) = delete;

private:
    FrmMain &frm_;
};

} // namespace

void FrmMain::cmdReplaceTABS_Click() {
    if (runInProgress()) return;
    try {
        const RunInProgress running(*this);
        // Three separate tests: the options form one group, so at most one sequence runs.
        if (optClipboard.value()) prevcmdReplaceTABSClipboard();
        if (optSingle.value()) prevcmdReplaceTABSSingle();
        if (optMultiple.value()) prevcmdReplaceTABSMultiple();
    } catch (const RunStopped &) {
        // The window was asked to close between two files; nothing more is shown.
    }
    releaseSessionEnd();
    if (closeRequested()) close();
}

namespace {

// True when the source and destination can be used; otherwise the user has been told.
bool singleInputsUsable(FrmMain &frm) {
    using R = SingleRunRefusal;
    switch (singleRunRefusal(frm.txtSource.text(), frm.txtDest.text(), frm.files())) {
    case R::None: return true;
    case R::NoSourceFile: return refused(frm, runText::chooseSourceFile);
    case R::DestinationNotDefined: return refused(frm, runText::defineDestinationFile);
    case R::NoDestinationFile: return refused(frm, runText::chooseDestinationFile);
    case R::SourceFileGone: return refusedPathGone(frm, frm.txtSource, runText::sourceFileGone);
    case R::DestinationFolderGone: return refusedPathGone(frm, frm.txtDest, runText::destinationFolderGone);
    case R::DestinationIsSource: return refused(frm, pickerText::sameFileForDestination);
    }
    return false;
}

} // namespace

void FrmMain::prevcmdReplaceTABSSingle() {
    guarded("frmMain - prevcmdReplaceTABSSingle", [&] {
        frmError().List2.clear();
        if (!singleInputsUsable(*this)) return;
        if (!replaceTABSwithSPACESVerifySingle()) return;
        if (frmError().List2.listCount() > 0) {
            runProgress.failedFilesShown();
            desktop_.beep();
            desktop_.showModal(frmError(), hwnd());
            return;
        }
        if (optFixedTABS.value())
            replaceTWSfixedSingle();
        else
            replaceTABSwithSPACESSingle();
        cmdGetSourceFile.setFocus();
    });
}

namespace {

// True when both folders can be used and files are listed; otherwise the user has been told.
bool folderInputsUsable(FrmMain &frm) {
    using R = FolderRunRefusal;
    TextBox &source = frm.txtMultipleFilesPath;
    TextBox &destination = frm.txtMultipleFilesDestinationPath;
    switch (folderRunRefusal(source.text(), destination.text(), frm.List1.listCount(), frm.files())) {
    case R::None: return true;
    case R::NoSourceFolder: return refused(frm, runText::chooseSourceFolder);
    case R::NoDestinationFolder: return refused(frm, runText::defineDestinationFolder);
    case R::SourceFolderGone: return refusedPathGone(frm, source, runText::sourceFolderGone);
    case R::DestinationFolderGone: return refusedPathGone(frm, destination, runText::destinationFolderGone);
    case R::SameFolder: return refused(frm, pickerText::sameFolder);
    case R::NoFilesListed: return refusedNoFiles(frm);
    }
    return false;
}

void dropFailedFiles(FrmMain &frm) {
    frm.removeErroredFiles();
    frm.filesInList = frm.List1.listCount();
    const std::string count = std::to_string(frm.filesInList);
    frm.lblHDDENnrOfFiles.setCaption(count);
    frm.lblNumberofiles.setCaption(frm.filesInList == 1 ? "1 file" : count + " files");
}

bool anyFailed(FrmMain &frm) { return frm.frmError().List2.listCount() > 0; }

} // namespace

void FrmMain::prevcmdReplaceTABSMultiple() {
    guarded("frmMain - prevcmdReplaceTABSMultiple", [&] {
        ProgressBar1.setValue(0);
        frmError().List2.clear();
        if (!folderInputsUsable(*this)) return;
        lblVerify.setCaption(runText::verifying);
        if (!replaceTABSwithSPACESVerifyMultiple()) {
            lblVerify.setCaption(runText::idle);
            ProgressBar1.setValue(0);
            return;
        }
        if (anyFailed(*this)) dropFailedFiles(*this);
        lblVerify.setCaption(runText::converting);
        if (optFixedTABS.value())
            replaceTWSfixedMultiple();
        else
            replaceTABSwithSPACESMultiple();
        if (anyFailed(*this)) {
            runProgress.failedFilesShown();
            desktop_.beep();
            desktop_.showModal(frmError(), hwnd());
        }
        lblVerify.setCaption(runText::idle);
        ProgressBar1.setValue(0);
        cmdGetSourceFile.setFocus();
    });
}

void FrmMain::prevcmdReplaceTABSClipboard() {
    guarded("frmMain - prevcmdReplaceTABSClipboard", [&] {
        frmError().List2.clear();
        if (!replaceTABSwithSPACESVerifyClipboard()) return;
        if (frmError().List2.listCount() > 0) {
            desktop_.beep();
            desktop_.showModal(frmErrorClipboard(), hwnd());
            return;
        }
        if (noTextOnClipboard) return;
        if (optFixedTABS.value())
            replaceTWSfixedClipboard();
        else
            replaceTABSwithSPACESClipboard();
    });
}
