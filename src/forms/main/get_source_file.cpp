// The Browse button of the single file's source: an existing file, never the destination.
#include "desktop/show_error.h"
#include "main/file_picker_start.h"
#include "main/frm_main.h"
#include "main/picker_messages.h"

#include <commdlg.h>

void FrmMain::cmdGetSourceFile_Click() {
    guarded("frmMain - cmdGetSourceFile_Click", [&] {
        const FilePick pick{"All Files (*.*)|*.*|", OFN_FILEMUSTEXIST, "Locate your file", false};
        pickFileInto(*this, pick, txtSource, txtDest, pickerText::sameFileForSource);
    });
}
