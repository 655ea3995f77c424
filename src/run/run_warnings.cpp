#include "run/run_warnings.h"

#include "platform/desktop.h"
#include "run/run_messages.h"

void warnAttention(const FrmMain &frm, const std::string &text) {
    showMessage(frm.hwnd(), text, runText::attentionTitle, MB_OK | MB_ICONEXCLAMATION);
}

void informNoFiles(const FrmMain &frm) {
    showMessage(frm.hwnd(), runText::noFilesAvailable, runText::noFilesTitle, MB_OK | MB_ICONINFORMATION);
}

void warnPathGone(const FrmMain &frm, TextBox &box, const std::string &text) {
    warnAttention(frm, text);
    box.setText(placeholderText);
}

bool nothingChosen(const TextBox &box) {
    const std::string text = box.text();
    return text == placeholderText || text.empty();
}
