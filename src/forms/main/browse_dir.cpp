// The Browse button of the folder run's source: an existing folder, never the destination; an
// accepted folder rebuilds the work list.
#include "desktop/show_error.h"
#include "ansi_case.h"
#include "path_checks.h"
#include "main/folder_picker_setup.h"
#include "main/frm_main.h"
#include "main/picked_path.h"
#include "main/picker_messages.h"

void FrmMain::cmdBrowseDir_Click() {
    try {
        ProgressBar1.setValue(0);
        lblNumberofiles.setCaption(placeholderText);
        optMultiple.setValue(true);
        optMultiple_Click();

        BrowseDialog dialog;
        prepareFolderDialog(dialog, *this, txtMultipleFilesPath.text());
        const std::string previous = txtMultipleFilesPath.text();
        if (!dialog.browse()) return;

        const std::string chosen = dialog.folderPath;
        if (!DirExists(chosen)) {
            refuseChoice(hwnd(), pickerText::folderNotAvailable);
            txtMultipleFilesPath.setText(placeholderText);
            return;
        }
        const std::string lowered = lowerCase(chosen);
        txtMultipleFilesPath.setText(lowered);
        if (sameAsOtherBox(lowered, txtMultipleFilesDestinationPath.text())) {
            refuseChoice(hwnd(), pickerText::sameFolder);
            txtMultipleFilesPath.setText(placeholderText);
            return;
        }
        txtMultipleFilesPath.setText(chosen.empty() ? lowerCase(previous) : lowered);
        countFILES();
    } catch (...) {
        const AppError error = caughtError(std::current_exception());
        showErrorMessage(error, "frmMain - cmdBrowseDir_Click", browseDirClosing(error.number));
        if (error.number != err::FileNotFound) return;
        // Without its folder browser the program cannot do its work: it closes as Exit would.
        closeRequestedByBrowse_ = true;
        close();
    }
}
