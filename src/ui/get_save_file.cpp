// The Browse button of the single file's destination: a name in an existing folder, never the
// source. The dialog offers the source's extension.
#include "errors/show_error.h"
#include "platform/ansi_case.h"
#include "run/path_text.h"
#include "ui/file_picker_start.h"
#include "ui/frm_main.h"
#include "ui/picked_path.h"
#include "ui/picker_messages.h"

#include <commdlg.h>

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
        startFilePicker(*this);
        const std::string filter = filterFromSource(txtSource.text());
        const std::string startFolder = fileDialogStartFolder(txtDest.text());
        CommonDialog1.owner = hwnd();
        CommonDialog1.filter = filter;
        CommonDialog1.flags = OFN_PATHMUSTEXIST;
        CommonDialog1.initDir = startFolder;
        CommonDialog1.dialogTitle = "Pick a place and name your file";
        CommonDialog1.showSave();
        if (CommonDialog1.fileName.empty()) return;

        const std::string chosen = lowerCase(CommonDialog1.fileName);
        if (sameAsOtherBox(chosen, txtSource.text())) {
            refuseChoice(hwnd(), pickerText::sameFileForDestination);
            txtDest.setText(placeholderText);
            return; // the dialog keeps the refused name for its next showing
        }
        txtDest.setText(chosen);
        clearChosenNames(CommonDialog1);
    });
}
