// The folder work list is still to be built; its count moves to its own file when it is, and this
// file goes away.
#include "ui/frm_main.h"

void FrmMain::countFILES() {}
