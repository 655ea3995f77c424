#include "main/folder_picker_setup.h"
#include "main/frm_main.h"

void prepareFolderDialog(BrowseDialog &dialog, FrmMain &frm, const std::string &startFolder) {
    dialog.hwndOwner = frm.hwnd();
    dialog.title = "Browse for folder";
    dialog.instruction = "Select a folder please";
    dialog.folderPath = startFolder;
}
