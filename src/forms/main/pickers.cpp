// The four Browse buttons: the file pickers of the single-file panel and the folder pickers of the
// folder panel, with the checks that refuse a choice. A dropped path is taken as its Browse button
// takes the dialog's choice.
#include "appdata.h"
#include "folders.h"
#include "locale_text.h"
#include "main/frm_main.h"
#include "messages.h"
#include "path_text.h"
#include "run_inputs.h"

#include <commdlg.h>

// What one file picker's dialog shows.
struct FilePick {
    std::string filter;
    unsigned long flags; // OFN_ options
    std::string title;
    bool save;
};

namespace {

// True when the other box, trimmed, holds exactly the lower-cased choice.
bool sameAsOtherBox(const std::string &lowerCasedChoice, const std::string &otherBoxText) {
    return trimSpaces(otherBoxText) == lowerCasedChoice;
}

// The folder of the box's file when the box holds a path whose folder exists, else the per-user
// data folder (which this creates when missing). Fails with 9 for an empty box.
std::string fileDialogStartFolder(const std::string &boxText) {
    std::string start = appDataFolder(programFolder());
    if (boxText == placeholderText) return start;
    const std::string folder = filePart(boxText, pathPart::folder);
    if (DirExists(folder)) start = folder;
    return start;
}

// An accepted choice leaves no name behind for the next showing; failures here are ignored.
void clearChosenNames(CommonDialog &dialog) noexcept {
    ignoringErrors([&] { dialog.fileName.clear(); });
    ignoringErrors([&] { dialog.fileTitle.clear(); });
}

// Shows the dialog from `startFolder`; the chosen name, "" when it was cancelled.
std::string chooseFile(CommonDialog &dialog, HWND owner, const FilePick &pick,
                       const std::string &startFolder) {
    dialog.owner = owner;
    dialog.filter = pick.filter;
    dialog.flags = pick.flags;
    dialog.initialDir = startFolder;
    dialog.title = pick.title;
    if (pick.save)
        dialog.showSave();
    else
        dialog.showOpen();
    return dialog.fileName;
}

std::string filterFromSource(const std::string &sourceText) {
    const std::string extension = filePart(sourceText, pathPart::extension);
    const std::string description = extension.empty() ? "All files " : "Extension from source ";
    const std::string pattern = extension.empty() ? "*.*" : "*." + extension;
    return description + "(" + pattern + ")|" + pattern + "|";
}

void prepareFolderDialog(BrowseDialog &dialog, HWND owner, const std::string &startFolder) {
    dialog.hwndOwner = owner;
    dialog.title = "Browse for folder";
    dialog.instruction = "Select a folder please";
    dialog.folderPath = startFolder;
}

const std::string &folderRefusalText(FolderChoiceRefusal refusal) {
    switch (refusal) {
    case FolderChoiceRefusal::NotAvailable: return pickerText::folderNotAvailable;
    case FolderChoiceRefusal::NotAccessible: return pickerText::folderNotAccessible;
    default: return pickerText::sameFolder;
    }
}

void resetFolderProgress(ProgressBar &bar, Label &fileCount) {
    bar.setValue(0);
    fileCount.setCaption(placeholderText);
}

} // namespace

bool FrmMain::refuseChoice(const std::string &text, TextBox *box) {
    tellUser(text, pickerText::title, MB_OK | MB_ICONEXCLAMATION);
    if (box) box->setText(placeholderText);
    return false;
}

// Progress bar at 0, "Waiting ..." as the file count, the Single file operation selected.
void FrmMain::startFilePicker() {
    resetFolderProgress(controls_.progressBar, controls_.fileCountLabel);
    selectOperation(controls_.singleFileOption);
}

// The check of a chosen file: a name equal to the file in `other` is refused with `refusal` and leaves
// "Waiting ..." in `box`; any other goes into `box` lower-cased. True when kept.
bool FrmMain::keepFileChoice(const std::string &chosenName, TextBox &box, const TextBox &other,
                             const std::string &refusal) {
    const std::string chosen = lowerCase(chosenName);
    if (sameAsOtherBox(chosen, other.text())) return refuseChoice(refusal, &box);
    box.setText(chosen);
    return true;
}

// Starts the picker, shows the dialog from the folder of `box`'s file and keeps the choice as
// keepFileChoice does (a refused name stays in the dialog for its next showing). A cancelled dialog
// changes no box.
void FrmMain::pickFile(const FilePick &pick, TextBox &box, const TextBox &other, const std::string &refusal) {
    startFilePicker();
    const std::string chosen = chooseFile(fileDialog_, hwnd(), pick, fileDialogStartFolder(box.text()));
    if (chosen.empty()) return;
    if (keepFileChoice(chosen, box, other, refusal)) clearChosenNames(fileDialog_);
}

void FrmMain::browseSourceFile() {
    guarded("frmMain - cmdGetSourceFile_Click", [&] {
        const FilePick pick{"All Files (*.*)|*.*|", OFN_FILEMUSTEXIST, "Locate your file", false};
        pickFile(pick, controls_.sourceFileBox, controls_.destinationFileBox, pickerText::sameFileForSource);
    });
}

void FrmMain::browseDestinationFile() {
    guarded("frmMain - cmdGetSaveFile_Click", [&] {
        const FilePick pick{filterFromSource(controls_.sourceFileBox.text()), OFN_PATHMUSTEXIST,
                            "Pick a place and name your file", true};
        pickFile(pick, controls_.destinationFileBox, controls_.sourceFileBox,
                 pickerText::sameFileForDestination);
    });
}

// The checks both folder pickers make of the chosen folder, in order: it is there, it can be
// written to (when asked), it is not the other box's folder. A refused choice leaves "Waiting ..."
// in the box, a kept one the lower-cased folder; true when kept.
bool FrmMain::keepFolderChoice(const std::string &chosen, const std::string &previous, TextBox &box,
                               const TextBox &other, bool mustBeWritable) {
    const std::string lowered = lowerCase(chosen);
    const FolderChoiceRefusal refusal =
        folderChoiceRefusal(chosen, lowered, other.text(), mustBeWritable, files());
    if (refusal == FolderChoiceRefusal::NotAvailable) return refuseChoice(folderRefusalText(refusal), &box);
    // A folder that is there shows in the box, lower-cased, while a refusal of it is read.
    box.setText(lowered);
    if (refusal != FolderChoiceRefusal::None) return refuseChoice(folderRefusalText(refusal), &box);
    box.setText(chosen.empty() ? lowerCase(previous) : lowered);
    return true;
}

// Progress bar at 0, "Waiting ..." as the file count, the Multiple files operation selected. The
// destination folder picker only selects the operation: it leaves the progress bar and the count.
void FrmMain::startSourceFolderPicker() {
    resetFolderProgress(controls_.progressBar, controls_.fileCountLabel);
    selectOperation(controls_.multipleFilesOption);
}

// A kept source folder has its file list built again.
void FrmMain::keepSourceFolder(const std::string &chosen, const std::string &previous) {
    if (keepFolderChoice(chosen, previous, controls_.sourceFolderBox, controls_.destinationFolderBox, false))
        listWorkFiles();
}

void FrmMain::keepDestinationFolder(const std::string &chosen, const std::string &previous) {
    keepFolderChoice(chosen, previous, controls_.destinationFolderBox, controls_.sourceFolderBox, true);
}

void FrmMain::browseSourceFolder() {
    try {
        startSourceFolderPicker();
        BrowseDialog dialog(desktop_);
        prepareFolderDialog(dialog, hwnd(), controls_.sourceFolderBox.text());
        const std::string previous = controls_.sourceFolderBox.text();
        if (!dialog.browse()) return;
        keepSourceFolder(dialog.folderPath, previous);
    } catch (...) {
        const AppError error = caughtError(std::current_exception());
        showErrorMessage(desktop_, error, "frmMain - cmdBrowseDir_Click", browseDirClosing(error.number));
        if (error.number != err::FileNotFound) return;
        // Without its folder browser the program cannot do its work: it closes as Exit would.
        close();
    }
}

void FrmMain::browseDestinationFolder() {
    try {
        selectOperation(controls_.multipleFilesOption);
        folderDialog_ = std::make_unique<BrowseDialog>(desktop_);
        BrowseDialog &dialog = *folderDialog_;
        dialog.newFolderButton = true;
        prepareFolderDialog(dialog, hwnd(), controls_.destinationFolderBox.text());
        dialog.selectionChanged = [this](HWND window) { folderSelectionChanged(window); };
        const std::string previous = controls_.destinationFolderBox.text();
        if (!dialog.browse()) return;
        keepDestinationFolder(dialog.folderPath, previous);
    } catch (...) {
        const AppError error = caughtError(std::current_exception());
        showErrorMessage(desktop_, error, "frmMain - cmdBrowseDir2Save_Click",
                         browseDir2SaveClosing(error.number));
    }
}

// Some shells leave the new-folder button without its caption until the dialog is first shown;
// the first selection change, which comes before that, gives it one.
void FrmMain::folderSelectionChanged(HWND) {
    if (!folderDialog_ || !folderDialog_->newFolderButton) return;
    const HWND dialogWindow = folderDialog_->dialogWindow();
    if (!dialogWindow || IsWindowVisible(dialogWindow)) return;
    if (const HWND button = folderDialog_->newFolderButtonWindow()) SetWindowTextW(button, L"New Folder");
}
