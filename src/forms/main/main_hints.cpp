// Small conveniences of the main window: path tooltips and the number box handing on the focus.
#include "main/frm_main.h"

void FrmMain::pathBox_MouseMove(TextBox &box) { box.setToolTipText(box.text()); }

void FrmMain::txtSpacesToUse_MouseDown() { UpDown1.setFocus(); }
