// The Browse button of the single file's source: an existing file, never the destination.
#include "errors/show_error.h"
#include "ui/file_picker_start.h"
#include "ui/frm_main.h"
#include "ui/picker_messages.h"

#include <commdlg.h>

void FrmMain::cmdGetSourceFile_Click() {
    guarded("frmMain - cmdGetSourceFile_Click", [&] {
        const FilePick pick{"All Files (*.*)|*.*|", OFN_FILEMUSTEXIST, "Locate your file", false};
        pickFileInto(*this, pick, txtSource, txtDest, pickerText::sameFileForSource);
    });
}
