#include "window/control_colours.h"

#include "window/contrast.h"

#include <uxtheme.h>
#include <vssym32.h>

namespace {

// The theme's caption colour of a frame, from the theme itself (not the window's, which may have been
// turned off); nullopt without a theme.
std::optional<COLORREF> themedFrameCaptionColour() {
    HTHEME theme = OpenThemeData(nullptr, L"Button");
    if (!theme) return std::nullopt;
    COLORREF colour = 0;
    const bool found = SUCCEEDED(GetThemeColor(theme, BP_GROUPBOX, GBS_NORMAL, TMT_TEXTCOLOR, &colour));
    CloseThemeData(theme);
    if (!found) return std::nullopt;
    return colour;
}

} // namespace

void themeFrameForScheme(HWND frame, bool highContrast) {
    const std::optional<COLORREF> themed = themedFrameCaptionColour();
    const bool readable =
        themed && contrastRatio(*themed, GetSysColor(COLOR_BTNFACE)) >= readableTextContrast;
    if (readable && !highContrast) {
        SetWindowTheme(frame, nullptr, nullptr);
        return;
    }
    // The empty names are Windows' way; Wine refuses them (it cannot store an empty name), and a class
    // list that no theme knows leaves the frame unthemed there as well.
    if (FAILED(SetWindowTheme(frame, L"", L""))) SetWindowTheme(frame, L" ", L" ");
}

COLORREF readableTextColour(COLORREF designed, int systemColour, COLORREF background, bool highContrast) {
    if (highContrast || contrastRatio(designed, background) < readableTextContrast)
        return GetSysColor(systemColour);
    return designed;
}

void ControlColours::setText(HWND control, COLORREF colour, int systemColour) {
    text_[control] = {colour, systemColour};
}

std::optional<COLORREF> ControlColours::text(HWND control) const {
    const auto found = text_.find(control);
    if (found == text_.end()) return std::nullopt;
    return found->second.colour;
}

COLORREF ControlColours::shownText(HWND control) const {
    const auto found = text_.find(control);
    if (found == text_.end()) return GetSysColor(COLOR_BTNTEXT);
    return readableTextColour(found->second.colour, found->second.systemColour, GetSysColor(COLOR_BTNFACE),
                              highContrast());
}

std::optional<LRESULT> ControlColours::answer(HDC dc, HWND control) const {
    const bool designed = text_.count(control) > 0;
    const bool transparent = transparent_.count(control) > 0;
    const bool buttonFace = buttonFace_.count(control) > 0;
    if (!designed && !transparent && !buttonFace) return std::nullopt;
    SetTextColor(dc, shownText(control));
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
