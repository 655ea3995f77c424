// The failed-files window: the inputs a verification pass could not handle, and saving them to
// the error log.
#pragma once

#include "failed/failure_window.h"
#include "window/controls.h"
#include "window/mouse_watch.h"

#include <cstdint>

class FrmError final : public FailureWindow, private MouseListener {
public:
    // Loads the window hidden, with an empty list; its messages go through the desktop.
    FrmError(Desktop &desktop, Accessibility &accessibility, HWND owner);
    const char *formName() const override { return "frmError"; }

    ListBox List2;
    Button cmdSave;

    void cmdSave_Click();
    void Command1_Click();
    void List2_MouseMove(int16_t button, int16_t shift, float x, float y);

private:
    void onClick(HWND control) override;
    Desktop &desktop_;
    void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;
};

inline constexpr COLORREF failedEntryColour = 0x000000C0; // dark red
