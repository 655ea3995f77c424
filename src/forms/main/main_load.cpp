// The main window's load: everything it shows at first comes from the stored settings.
#include "main/frm_main.h"

void FrmMain::Form_Load() { restoreSettings(); }
