#include "window/list_item_tip.h"

#include "window/layout.h"

#include <cmath>

int twipsToPointerPixels(float twips, int dpi) {
    const double twipsPerPixel = 1440.0 / dpi;
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / twipsPerPixel)); // ties to even
}

std::string listItemTipAt(const ListBox &list, float xTwips, float yTwips) {
    const int dpi = screenDpi();
    const int x = twipsToPointerPixels(xTwips, dpi);
    const int y = twipsToPointerPixels(yTwips, dpi);
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
