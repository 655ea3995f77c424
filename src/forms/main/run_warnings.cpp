#include "main/run_warnings.h"

#include "desktop/desktop.h"
#include "messages.h"

bool refused(const FrmMain &frm, const std::string &text) {
    showMessage(frm.hwnd(), text, runText::attentionTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool refusedNoFiles(const FrmMain &frm) {
    showMessage(frm.hwnd(), runText::noFilesAvailable, runText::noFilesTitle, MB_OK | MB_ICONINFORMATION);
    return false;
}

bool refusedPathGone(const FrmMain &frm, TextBox &box, const std::string &text) {
    refused(frm, text);
    box.setText(placeholderText);
    return false;
}

bool nothingChosen(const TextBox &box) {
    const std::string text = box.text();
    return text == placeholderText || text.empty();
}
