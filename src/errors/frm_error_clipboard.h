// The window that tells the user the clipboard's data could not be handled.
#pragma once

#include "errors/failure_window.h"
#include "platform/controls.h"

class FrmErrorClipboard final : public FailureWindow {
public:
    explicit FrmErrorClipboard(HWND owner);
    const char *formName() const override { return "frmErrorClipboard"; }

    Label Label1, Label2;
    Control Image1;
    Button Command1;

    void Command1_Click();

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onClick(HWND control) override;
};
