// The Browse button of the single file's source: an existing file, never the destination.
#include "errors/show_error.h"
#include "platform/ansi_case.h"
#include "ui/file_picker_start.h"
#include "ui/frm_main.h"
#include "ui/picked_path.h"
#include "ui/picker_messages.h"

#include <commdlg.h>

void FrmMain::cmdGetSourceFile_Click() {
    guarded("frmMain - cmdGetSourceFile_Click", [&] {
        startFilePicker(*this);
        const std::string startFolder = fileDialogStartFolder(txtSource.text());
        CommonDialog1.owner = hwnd();
        CommonDialog1.filter = "All Files (*.*)|*.*|";
        CommonDialog1.flags = OFN_FILEMUSTEXIST;
        CommonDialog1.initDir = startFolder;
        CommonDialog1.dialogTitle = "Locate your file";
        CommonDialog1.showOpen();
        if (CommonDialog1.fileName.empty()) return;

        const std::string chosen = lowerCase(CommonDialog1.fileName);
        if (sameAsOtherBox(chosen, txtDest.text())) {
            refuseChoice(hwnd(), pickerText::sameFileForSource);
            txtSource.setText(placeholderText);
            return; // the dialog keeps the refused name for its next showing
        }
        txtSource.setText(chosen);
        clearChosenNames(CommonDialog1);
    });
}
