#include "failed/frm_error_clipboard.h"

#include "failed/frm_error_layout.h"

FrmErrorClipboard::FrmErrorClipboard(Accessibility &accessibility, HWND owner)
    : FailureWindow(accessibility) {
    loadHidden("QuillmereErrorClipboard", frmErrorClientWidthTwips, frmErrorClipboardClientHeightTwips,
               frmErrorClipboardLayout(), owner);
}
