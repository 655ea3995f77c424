// The four Browse buttons: the file pickers of the single-file panel and the folder pickers of the
// folder panel, with the checks that refuse a choice.
#include "appdata.h"
#include "folders.h"
#include "locale_text.h"
#include "main/frm_main.h"
#include "messages.h"
#include "path_text.h"
#include "run_inputs.h"

#include <commdlg.h>

namespace {

void refuseChoice(FrmMain &frm, const std::string &text) {
    frm.showMessage(text, pickerText::title, MB_OK | MB_ICONEXCLAMATION);
}

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

// Progress bar at 0, "Waiting ..." as the file count, the Single file operation selected.
void startFilePicker(FrmMain &frm) {
    frm.ProgressBar1.setValue(0);
    frm.lblNumberofiles.setCaption(placeholderText);
    frm.optSingle.setValue(true);
    frm.optSingle_Click();
}

// An accepted choice leaves no name behind for the next showing; failures here are ignored.
void clearChosenNames(CommonDialog &dialog) noexcept {
    ignoringErrors([&] { dialog.fileName.clear(); });
    ignoringErrors([&] { dialog.fileTitle.clear(); });
}

// What one file picker's dialog shows.
struct FilePick {
    std::string filter;
    unsigned long flags; // OFN_ options
    std::string title;
    bool save;
};

// The check of a chosen file: a name equal to the file in `other` is refused with `refusal` and leaves
// "Waiting ..." in `box`; any other goes into `box` lower-cased. True when kept.
bool keepFileChoice(FrmMain &frm, const std::string &chosenName, TextBox &box, const TextBox &other,
                    const std::string &refusal) {
    const std::string chosen = lowerCase(chosenName);
    if (sameAsOtherBox(chosen, other.text())) {
        refuseChoice(frm, refusal);
        box.setText(placeholderText);
        return false;
    }
    box.setText(chosen);
    return true;
}

// Starts the picker, shows the dialog from the folder of `box`'s file and puts the lower-cased
// choice in `box`; a choice naming the file in `other` is refused with `refusal` and leaves "Waiting
// ..." in `box` (the dialog keeps the refused name for its next showing). A cancelled dialog
// changes no box.
void pickFileInto(FrmMain &frm, const FilePick &pick, TextBox &box, const TextBox &other,
                  const std::string &refusal) {
    startFilePicker(frm);
    const std::string startFolder = fileDialogStartFolder(box.text());
    CommonDialog &dialog = frm.CommonDialog1;
    dialog.owner = frm.hwnd();
    dialog.filter = pick.filter;
    dialog.flags = pick.flags;
    dialog.initialDir = startFolder;
    dialog.title = pick.title;
    if (pick.save)
        dialog.showSave();
    else
        dialog.showOpen();
    if (dialog.fileName.empty()) return;
    if (keepFileChoice(frm, dialog.fileName, box, other, refusal)) clearChosenNames(dialog);
}

} // namespace

void FrmMain::cmdGetSourceFile_Click() {
    guarded("frmMain - cmdGetSourceFile_Click", [&] {
        const FilePick pick{"All Files (*.*)|*.*|", OFN_FILEMUSTEXIST, "Locate your file", false};
        pickFileInto(*this, pick, txtSource, txtDest, pickerText::sameFileForSource);
    });
}

namespace {

std::string filterFromSource(const std::string &sourceText) {
    const std::string extension = filePart(sourceText, pathPart::extension);
    const std::string description = extension.empty() ? "All files " : "Extension from source ";
    const std::string pattern = extension.empty() ? "*.*" : "*." + extension;
    return description + "(" + pattern + ")|" + pattern + "|";
}

} // namespace

void FrmMain::cmdGetSaveFile_Click() {
    guarded("frmMain - cmdGetSaveFile_Click", [&] {
        const FilePick pick{filterFromSource(txtSource.text()), OFN_PATHMUSTEXIST,
                            "Pick a place and name your file", true};
        pickFileInto(*this, pick, txtDest, txtSource, pickerText::sameFileForDestination);
    });
}

namespace {

void prepareFolderDialog(BrowseDialog &dialog, FrmMain &frm, const std::string &startFolder) {
    dialog.hwndOwner = frm.hwnd();
    dialog.title = "Browse for folder";
    dialog.instruction = "Select a folder please";
    dialog.folderPath = startFolder;
}

bool refuseFolder(FrmMain &frm, TextBox &box, const std::string &text) {
    refuseChoice(frm, text);
    box.setText(placeholderText);
    return false;
}

const std::string &folderRefusalText(FolderChoiceRefusal refusal) {
    switch (refusal) {
    case FolderChoiceRefusal::NotAvailable: return pickerText::folderNotAvailable;
    case FolderChoiceRefusal::NotAccessible: return pickerText::folderNotAccessible;
    default: return pickerText::sameFolder;
    }
}

// The checks both folder pickers make of the chosen folder, in order: it is there, it can be
// written to (when asked), it is not the other box's folder. A refused choice leaves "Waiting ..."
// in the box, a kept one the lower-cased folder; true when kept.
bool keepFolderChoice(FrmMain &frm, const std::string &chosen, const std::string &previous, TextBox &box,
                      const TextBox &other, bool mustBeWritable) {
    const std::string lowered = lowerCase(chosen);
    const FolderChoiceRefusal refusal =
        folderChoiceRefusal(chosen, lowered, other.text(), mustBeWritable, frm.files());
    if (refusal == FolderChoiceRefusal::NotAvailable)
        return refuseFolder(frm, box, folderRefusalText(refusal));
    // A folder that is there shows in the box, lower-cased, while a refusal of it is read.
    box.setText(lowered);
    if (refusal != FolderChoiceRefusal::None) return refuseFolder(frm, box, folderRefusalText(refusal));
    box.setText(chosen.empty() ? lowerCase(previous) : lowered);
    return true;
}

// Progress bar at 0, "Waiting ..." as the file count, the Multiple files operation selected.
void startSourceFolderPicker(FrmMain &frm) {
    frm.ProgressBar1.setValue(0);
    frm.lblNumberofiles.setCaption(placeholderText);
    frm.optMultiple.setValue(true);
    frm.optMultiple_Click();
}

// The destination folder picker leaves the progress bar and the count as they are.
void startDestinationFolderPicker(FrmMain &frm) {
    frm.optMultiple.setValue(true);
    frm.optMultiple_Click();
}

// A kept source folder has its file list built again.
void keepSourceFolder(FrmMain &frm, const std::string &chosen, const std::string &previous) {
    if (keepFolderChoice(frm, chosen, previous, frm.txtMultipleFilesPath, frm.txtMultipleFilesDestinationPath,
                         false))
        frm.countFILES();
}

void keepDestinationFolder(FrmMain &frm, const std::string &chosen, const std::string &previous) {
    keepFolderChoice(frm, chosen, previous, frm.txtMultipleFilesDestinationPath, frm.txtMultipleFilesPath,
                     true);
}

} // namespace

void FrmMain::cmdBrowseDir_Click() {
    try {
        startSourceFolderPicker(*this);
        BrowseDialog dialog(desktop_);
        prepareFolderDialog(dialog, *this, txtMultipleFilesPath.text());
        const std::string previous = txtMultipleFilesPath.text();
        if (!dialog.browse()) return;
        keepSourceFolder(*this, dialog.folderPath, previous);
    } catch (...) {
        const AppError error = caughtError(std::current_exception());
        showErrorMessage(desktop_, error, "frmMain - cmdBrowseDir_Click", browseDirClosing(error.number));
        if (error.number != err::FileNotFound) return;
        // Without its folder browser the program cannot do its work: it closes as Exit would.
        close();
    }
}

void FrmMain::cmdBrowseDir2Save_Click() {
    try {
        startDestinationFolderPicker(*this);
        objBD = std::make_unique<BrowseDialog>(desktop_);
        BrowseDialog &dialog = *objBD;
        dialog.newFolderButton = true;
        prepareFolderDialog(dialog, *this, txtMultipleFilesDestinationPath.text());
        dialog.selectionChanged = [this](HWND window) { objBD_SelectionChanged(window); };
        const std::string previous = txtMultipleFilesDestinationPath.text();
        if (!dialog.browse()) return;

        keepDestinationFolder(*this, dialog.folderPath, previous);
    } catch (...) {
        const AppError error = caughtError(std::current_exception());
        showErrorMessage(desktop_, error, "frmMain - cmdBrowseDir2Save_Click",
                         browseDir2SaveClosing(error.number));
    }
}

// Some shells leave the new-folder button without its caption until the dialog is first shown;
// the first selection change, which comes before that, gives it one.
void FrmMain::objBD_SelectionChanged(HWND) {
    if (!objBD || !objBD->newFolderButton) return;
    const HWND dialogWindow = objBD->dialogWindow();
    if (!dialogWindow || IsWindowVisible(dialogWindow)) return;
    if (const HWND button = objBD->newFolderButtonWindow()) SetWindowTextW(button, L"New Folder");
}

// A path given without a dialog (dropped on the window) is taken as the Browse button would take it
// from its dialog: the same start, the same checks, the same messages.
void FrmMain::takeSourceFile(const std::string &path) {
    startFilePicker(*this);
    keepFileChoice(*this, path, txtSource, txtDest, pickerText::sameFileForSource);
}

void FrmMain::takeSourceFolder(const std::string &path) {
    startSourceFolderPicker(*this);
    keepSourceFolder(*this, path, txtMultipleFilesPath.text());
}

void FrmMain::takeDestinationFolder(const std::string &path) {
    startDestinationFolderPicker(*this);
    keepDestinationFolder(*this, path, txtMultipleFilesDestinationPath.text());
}
