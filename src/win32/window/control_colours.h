// Text and background colours of a window's controls, applied when the controls ask their parent
// (WM_CTLCOLOR...). Every control stands on the button face; labels are transparent over it.
//
// A control keeps its designed text colour under the standard scheme. Where the user has turned high
// contrast on, or where the designed colour would not stand out from the button face the system gives
// (a contrast ratio under 4.5:1), the control is drawn in the system colour that stands for its role.
#pragma once

#include "win.h"
#include "window/accessibility.h"

#include <map>
#include <optional>

class ControlColours {
public:
    explicit ControlColours(const Accessibility &accessibility) : accessibility_(accessibility) {}

    // The designed text colour, and the system colour (COLOR_...) that takes its place.
    void setText(HWND control, COLORREF colour, int systemColour = COLOR_BTNTEXT);
    // The designed text colour; nullopt when the control has none.
    std::optional<COLORREF> text(HWND control) const;
    // The text colour the control is drawn in now.
    COLORREF shownText(HWND control) const;
    void setButtonFaceBackground(HWND control) { buttonFace_[control] = true; }
    void setTransparent(HWND control) { transparent_[control] = true; }
    bool highContrast() const { return accessibility_.highContrast(); }

    // The answer to a WM_CTLCOLOR... message, or nullopt for the system's default.
    std::optional<LRESULT> answer(HDC dc, HWND control) const;
    // The same for any message a window receives: nullopt for every other message.
    std::optional<LRESULT> answerMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    struct Designed {
        COLORREF colour;
        int systemColour;
    };
    const Accessibility &accessibility_;
    std::map<HWND, Designed> text_;
    std::map<HWND, bool> buttonFace_;
    std::map<HWND, bool> transparent_;
};

// A themed frame (group box) draws its caption in the theme's colour, not the one its window gives:
// under high contrast, or where the theme's colour would not stand out from the system's button face,
// the frame is drawn without the theme, in its window's colours; otherwise as the theme draws it.
void themeFrameForScheme(HWND frame, bool highContrast);

// The colour text of the given design is drawn in on the background: the designed colour, or the
// system colour of its role under high contrast or where the designed one would be hard to read.
COLORREF readableTextColour(COLORREF designed, int systemColour, COLORREF background, bool highContrast);
