#include "errors/frm_error.h"

#include "app/appdata.h"
#include "errors/error_log.h"
#include "errors/frm_error_layout.h"
#include "errors/show_error.h"
#include "platform/list_item_tip.h"
#include "platform/local_time_text.h"
#include "platform/text_files.h"

#include <vector>

namespace {

int16_t mouseButtons(WPARAM wParam) {
    return static_cast<int16_t>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                ((wParam & MK_MBUTTON) ? 4 : 0));
}

float pixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * 1440.0f / static_cast<float>(screenDpi());
}

} // namespace

FrmError::FrmError(HWND owner) {
    const ControlMap made = loadHidden("QuillmereError", frmErrorClientWidthTwips, frmErrorClientHeightTwips,
                                       frmErrorLayout(), owner);
    if (made.empty())
        return;
    auto bind = [&](auto &wrapper, const char *name) {
        wrapper = std::remove_reference_t<decltype(wrapper)>(made.at(name), &tooltips_, &colours_);
    };
    bind(Label1, "Label1");
    bind(Label2, "Label2");
    bind(List2, "List2");
    bind(Image1, "Image1");
    bind(cmdSave, "cmdSave");
    bind(Command1, "Command1");
    keepDesignedSize(Label2.hwnd(), 4830, 945);
    colours_.setTransparent(Label1.hwnd());
    colours_.setTransparent(Label2.hwnd());
    colours_.setText(List2.hwnd(), failedEntryColour);
    colours_.setButtonFaceBackground(List2.hwnd());
    SendMessageA(Image1.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(warningIcon()), 0);
    watchMouse(List2.hwnd(), *this);
}

LRESULT FrmError::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW && wParam)
        Command1.setFocus();
    return FailureWindow::handleMessage(message, wParam, lParam);
}

void FrmError::onClick(HWND control) {
    if (control == cmdSave.hwnd())
        return cmdSave_Click();
    if (control == Command1.hwnd())
        return Command1_Click();
}

void FrmError::childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE || control != List2.hwnd())
        return;
    List2_MouseMove(mouseButtons(wParam), 0, pixelsToTwips(static_cast<short>(LOWORD(lParam))),
                    pixelsToTwips(static_cast<short>(HIWORD(lParam))));
}

void FrmError::cmdSave_Click() {
    guarded("frmError - cmdSave_Click", [&] {
        std::vector<std::string> entries;
        for (int32_t i = 0; i < List2.listCount(); ++i)
            entries.push_back(List2.list(i));
        const std::string stamp = userShortDate() + " " + userTimeOfDay();
        const std::string log = appDataFolder(programFolder()) + "errorlog.txt";
        appendToFile(log, errorLogRecord(stamp, entries));
        showMessage(hwnd(), "Info was written to :\r\n" + log, "Log updated", MB_OK | MB_ICONINFORMATION);
    });
}

void FrmError::Command1_Click() { unload(); }

void FrmError::List2_MouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(List2, button, x, y);
}
