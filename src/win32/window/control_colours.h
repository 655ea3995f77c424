// Text and background colours of a window's controls, applied when the controls ask their parent
// (WM_CTLCOLOR...). Labels are transparent over the button face.
#pragma once

#include "win.h"

#include <map>
#include <optional>

class ControlColours {
public:
    void setText(HWND control, COLORREF colour) { text_[control] = colour; }
    std::optional<COLORREF> text(HWND control) const;
    void setButtonFaceBackground(HWND control) { buttonFace_[control] = true; }
    void setTransparent(HWND control) { transparent_[control] = true; }

    // The answer to a WM_CTLCOLOR... message, or nullopt for the system's default.
    std::optional<LRESULT> answer(HDC dc, HWND control) const;
    // The same for any message a window receives: nullopt for every other message.
    std::optional<LRESULT> answerMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    std::map<HWND, COLORREF> text_;
    std::map<HWND, bool> buttonFace_;
    std::map<HWND, bool> transparent_;
};
