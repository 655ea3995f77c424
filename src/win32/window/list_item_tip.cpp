#include "window/list_item_tip.h"

#include "window/layout.h"

std::string listItemTipAt(const ListBox &list, float xTwips, float yTwips) {
    const int dpi = screenDpi();
    const int x = twipsToNearestPixel(xTwips, dpi);
    const int y = twipsToNearestPixel(yTwips, dpi);
    const auto reply = static_cast<int32_t>(SendMessageA(list.hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
    if (reply < 0 || reply >= list.listCount())
        return {};
    std::string tip(1, ' ');
    tip.append(list.list(reply)).push_back(' ');
    return tip;
}

void showListItemTip(ListBox &list, int16_t button, float xTwips, float yTwips) {
    if (button != 0)
        return;
    list.setToolTipText(listItemTipAt(list, xTwips, yTwips));
}
