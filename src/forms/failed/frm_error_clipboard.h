// The window that tells the user the clipboard's data could not be handled.
#pragma once

#include "failed/failure_window.h"
#include "window/controls.h"

class FrmErrorClipboard final : public FailureWindow {
public:
    FrmErrorClipboard(Accessibility &accessibility, HWND owner);
    const char *formName() const override { return "frmErrorClipboard"; }

    void Command1_Click();

private:
    void onClick(HWND control) override;
};
