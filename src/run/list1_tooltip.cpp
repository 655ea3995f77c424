// The work list's hint: the full path of the entry under the pointer.
#include "platform/list_item_tip.h"
#include "ui/frm_main.h"

void FrmMain::List1_MouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(List1, button, x, y);
}
