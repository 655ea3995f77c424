// The Browse button of the folder run's destination: an existing folder in which a file can be
// made, never the source. The dialog object stays with the window until the next click.
#include "desktop/show_error.h"
#include "ansi_case.h"
#include "path_checks.h"
#include "path_text.h"
#include "write_probe.h"
#include "main/folder_picker_setup.h"
#include "main/frm_main.h"
#include "main/picked_path.h"
#include "main/picker_messages.h"

void FrmMain::cmdBrowseDir2Save_Click() {
    try {
        optMultiple.setValue(true);
        optMultiple_Click();

        objBD = std::make_unique<BrowseDialog>();
        BrowseDialog &dialog = *objBD;
        dialog.newFolderButton = true;
        prepareFolderDialog(dialog, *this, txtMultipleFilesDestinationPath.text());
        dialog.selectionChanged = [this](HWND window, bool &okEnabled) {
            objBD_SelectionChanged(window, okEnabled);
        };
        const std::string previous = txtMultipleFilesDestinationPath.text();
        if (!dialog.browse()) return;

        const std::string chosen = dialog.folderPath;
        if (!DirExists(chosen)) {
            refuseChoice(hwnd(), pickerText::folderNotAvailable);
            txtMultipleFilesDestinationPath.setText(placeholderText);
            return;
        }
        const std::string lowered = lowerCase(chosen);
        txtMultipleFilesDestinationPath.setText(lowered);
        if (probeFolderForWriting(addBackslash(chosen)) == ProbeResult::AccessRefused) {
            refuseChoice(hwnd(), pickerText::folderNotAccessible);
            txtMultipleFilesDestinationPath.setText(placeholderText);
            return;
        }
        if (sameAsOtherBox(lowered, txtMultipleFilesPath.text())) {
            refuseChoice(hwnd(), pickerText::sameFolder);
            txtMultipleFilesDestinationPath.setText(placeholderText);
            return;
        }
        txtMultipleFilesDestinationPath.setText(chosen.empty() ? lowerCase(previous) : lowered);
    } catch (...) {
        const AppError error = caughtError(std::current_exception());
        showErrorMessage(error, "frmMain - cmdBrowseDir2Save_Click", browseDir2SaveClosing(error.number));
    }
}

// Some shells leave the new-folder button without its caption until the dialog is first shown;
// the first selection change, which comes before that, gives it one.
void FrmMain::objBD_SelectionChanged(HWND, bool &) {
    if (!objBD || !objBD->newFolderButton) return;
    const HWND dialogWindow = objBD->dialogWindow();
    if (!dialogWindow || IsWindowVisible(dialogWindow)) return;
    if (const HWND button = objBD->newFolderButtonWindow()) SetWindowTextA(button, "New Folder");
}
