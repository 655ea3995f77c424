// Handlers of the conversion engine and the work list that are still to be built; each moves to
// its own file as it is built, and this file goes away.
#include "ui/frm_main.h"

#include <stdexcept>

FrmError &FrmMain::frmError() { throw std::logic_error("failed-files window not built yet"); }
FrmErrorClipboard &FrmMain::frmErrorClipboard() { throw std::logic_error("clipboard window not built yet"); }
void FrmMain::unloadFrmError() { frmErrorWindow_.reset(); }
void FrmMain::unloadFrmErrorClipboard() { frmErrorClipboardWindow_.reset(); }
void FrmMain::Combo1_Click() {}
void FrmMain::List1_MouseMove(int16_t, int16_t, float, float) {}
void FrmMain::KillTempFile1() {}
void FrmMain::KillTempFile2() {}
void FrmMain::countFILES() {}
void FrmMain::LoadComboFromFile(ComboBox &, const std::string &) {}
