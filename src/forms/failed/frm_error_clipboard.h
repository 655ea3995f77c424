// The window that tells the user the clipboard's data could not be handled (frmErrorClipboard): the
// shared parts of a failure window only.
#pragma once

#include "failed/failure_window.h"

class FrmErrorClipboard final : public FailureWindow {
public:
    FrmErrorClipboard(Accessibility &accessibility, HWND owner);
    const char *formName() const override { return "frmErrorClipboard"; }
};
