// The work list's hint: the full path of the entry under the pointer.
#include "window/list_item_tip.h"
#include "main/frm_main.h"

void FrmMain::List1_MouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(List1, button, x, y);
}
