#include "window/control_colours.h"

std::optional<COLORREF> ControlColours::text(HWND control) const {
    const auto found = text_.find(control);
    if (found == text_.end()) return std::nullopt;
    return found->second;
}

std::optional<LRESULT> ControlColours::answer(HDC dc, HWND control) const {
    const auto colour = text(control);
    const bool transparent = transparent_.count(control) > 0;
    const bool buttonFace = buttonFace_.count(control) > 0;
    if (!colour && !transparent && !buttonFace) return std::nullopt;
    SetTextColor(dc, colour ? *colour : GetSysColor(buttonFace ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    if (transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

std::optional<LRESULT> ControlColours::answerMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: return answer(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default: return std::nullopt;
    }
}
