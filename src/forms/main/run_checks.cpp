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

class RunInProgress {
public:
    RunInProgress(RunState &run, RunProgress &progress) : run_(run), progress_(progress) {
        run_.running = true;
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
    ~RunInProgress() {
        progress_.end();
        run_.running = false;
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    }
    RunInProgress(const RunInProgress &) = delete;
    RunInProgress &operator=(const RunInProgress &) = delete;

private:
    RunState &run_;
    RunProgress &progress_;
};

} // namespace

void FrmMain::runClicked() {
    if (run_.running) return;
    try {
        const RunInProgress running(run_, runProgress_);
        // Three separate tests: the options form one group, so at most one sequence runs.
        if (controls_.clipboardOption.value()) runClipboard();
        if (controls_.singleFileOption.value()) runSingleFile();
        if (controls_.multipleFilesOption.value()) runFolder();
    } catch (const RunStopped &) {
        // The window was asked to close between two files; nothing more is shown.
    }
    releaseSessionEnd();
    if (run_.closeRequested) close();
}

bool FrmMain::refuseRun(const std::string &text, TextBox *box) {
    tellUser(text, runText::attentionTitle, MB_OK | MB_ICONEXCLAMATION);
    if (box) box->setText(placeholderText);
    return false;
}

// True when the source and destination can be used; otherwise the user has been told.
bool FrmMain::singleInputsUsable() {
    using R = SingleRunRefusal;
    TextBox &source = controls_.sourceFileBox;
    TextBox &destination = controls_.destinationFileBox;
    switch (singleRunRefusal(source.text(), destination.text(), files())) {
    case R::None: return true;
    case R::NoSourceFile: return refuseRun(runText::chooseSourceFile);
    case R::DestinationNotDefined: return refuseRun(runText::defineDestinationFile);
    case R::NoDestinationFile: return refuseRun(runText::chooseDestinationFile);
    case R::SourceFileGone: return refuseRun(runText::sourceFileGone, &source);
    case R::DestinationFolderGone: return refuseRun(runText::destinationFolderGone, &destination);
    case R::DestinationIsSource: return refuseRun(pickerText::sameFileForDestination);
    }
    return false;
}

void FrmMain::runSingleFile() {
    guarded("frmMain - prevcmdReplaceTABSSingle", [&] {
        FrmError &failed = failedFilesWindow();
        failed.clearFailedFiles();
        if (!singleInputsUsable()) return;
        if (!verifySingleFile()) return;
        if (failed.failedFileCount() > 0) return showFailures(failed);
        if (controls_.tabStopsOption.value())
            convertSingleFileWithTabStops();
        else
            convertSingleFileWithFixedSpaces();
        controls_.browseSourceFileButton.setFocus();
    });
}

// True when both folders can be used and files are listed; otherwise the user has been told.
bool FrmMain::folderInputsUsable() {
    using R = FolderRunRefusal;
    TextBox &source = controls_.sourceFolderBox;
    TextBox &destination = controls_.destinationFolderBox;
    switch (folderRunRefusal(source.text(), destination.text(), controls_.workList.listCount(), files())) {
    case R::None: return true;
    case R::NoSourceFolder: return refuseRun(runText::chooseSourceFolder);
    case R::NoDestinationFolder: return refuseRun(runText::defineDestinationFolder);
    case R::SourceFolderGone: return refuseRun(runText::sourceFolderGone, &source);
    case R::DestinationFolderGone: return refuseRun(runText::destinationFolderGone, &destination);
    case R::SameFolder: return refuseRun(pickerText::sameFolder);
    case R::NoFilesListed:
        tellUser(runText::noFilesAvailable, runText::noFilesTitle, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return false;
}

void FrmMain::runFolder() {
    guarded("frmMain - prevcmdReplaceTABSMultiple", [&] {
        Controls &c = controls_;
        c.progressBar.setValue(0);
        FrmError &failed = failedFilesWindow();
        failed.clearFailedFiles();
        if (!folderInputsUsable()) return;
        c.statusLabel.setCaption(runText::verifying);
        if (!verifyFolderFiles()) {
            c.statusLabel.setCaption(runText::idle);
            c.progressBar.setValue(0);
            return;
        }
        if (failed.failedFileCount() > 0) {
            dropFailedFromWorkList();
            showFileCount(c.workList.listCount());
        }
        c.statusLabel.setCaption(runText::converting);
        if (c.tabStopsOption.value())
            convertFolderWithTabStops();
        else
            convertFolderWithFixedSpaces();
        if (failed.failedFileCount() > 0) showFailures(failed);
        c.statusLabel.setCaption(runText::idle);
        c.progressBar.setValue(0);
        c.browseSourceFileButton.setFocus();
    });
}

void FrmMain::runClipboard() {
    guarded("frmMain - prevcmdReplaceTABSClipboard", [&] {
        failedFilesWindow().clearFailedFiles();
        if (!verifyClipboard()) return;
        if (failedFilesWindow().failedFileCount() > 0) return showFailures(failedClipboardWindow());
        if (run_.noTextOnClipboard) return;
        if (controls_.tabStopsOption.value())
            convertClipboardWithTabStops();
        else
            convertClipboardWithFixedSpaces();
    });
}
