// The Browse button of the single file's destination: a name in an existing folder, never the
// source. The dialog offers the source's extension.
#include "desktop/show_error.h"
#include "path_text.h"
#include "main/file_picker_start.h"
#include "main/frm_main.h"
#include "main/picker_messages.h"

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
        const FilePick pick{filterFromSource(txtSource.text()), OFN_PATHMUSTEXIST,
                            "Pick a place and name your file", true};
        pickFileInto(*this, pick, txtDest, txtSource, pickerText::sameFileForDestination);
    });
}
