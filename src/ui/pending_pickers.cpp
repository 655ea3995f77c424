// Pickers, help and the about window, still to be built; each handler moves to its own file as
// it is built, and this file goes away.
#include "ui/frm_main.h"

void FrmMain::cmdAbout_Click() {}
void FrmMain::cmdGetSourceFile_Click() {}
void FrmMain::cmdGetSaveFile_Click() {}
void FrmMain::cmdBrowseDir_Click() {}
void FrmMain::cmdBrowseDir2Save_Click() {}
void FrmMain::objBD_SelectionChanged(HWND, bool &) {}
void FrmMain::menuHelp_Click() {}
