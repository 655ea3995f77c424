// The run button, still to be built; its handler moves to its own file, and this file goes away.
#include "ui/frm_main.h"

void FrmMain::cmdReplaceTABS_Click() {}
