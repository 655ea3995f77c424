// One tooltip window per top-level window, holding a tip for each control that has one.
#pragma once

#include "handles.h"
#include "win.h"

#include <string>

class Tooltips {
public:
    Tooltips() = default;
    Tooltips(const Tooltips &) = delete;
    Tooltips &operator=(const Tooltips &) = delete;

    void attach(HWND owner);
    void add(HWND control, const std::string &text);
    void set(HWND control, const std::string &text); // adds the tip when the control has none yet
    std::string text(HWND control) const;
    // The tips in the system's tooltip font at the owner's DPI.
    void scaleTo(int dpi);

private:
    HWND tooltip_ = nullptr; // destroyed with its owner
    GdiObject font_;
};
