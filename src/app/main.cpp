// Start-up: common controls, a single copy, the real desktop and registry handed to the main window,
// the message loop.
#include "app_error.h"
#include "com_objects.h"
#include "desktop/desktop_win32.h"
#include "desktop/show_error.h"
#include "error_message.h"
#include "file_moves.h"
#include "main/frm_main.h"
#include "messages.h"
#include "registry.h"
#include "running_copy.h"
#include "window/accessibility.h"
#include "window/modal_loop.h"

#include <commctrl.h>

namespace {

void requestCommonControls() noexcept {
    INITCOMMONCONTROLSEX request{sizeof request, ICC_USEREX_CLASSES};
    InitCommonControlsEx(&request);
    // The program's own controls (up-down, tooltips) come from the standard classes.
    INITCOMMONCONTROLSEX standard{sizeof standard, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&standard);
}

void showStartupError(Desktop &desktop, const AppError &error) {
    MessageBoxRequest request;
    request.text = startupErrorText(error.number, error.description);
    request.title = "Error";
    request.style = MB_OK;
    desktop.messageBox(request);
}

// A settings key path the registry cannot use is shown to the user, over the active window.
class IncorrectFormatMessage final : public Registry::IncorrectFormatReport {
public:
    explicit IncorrectFormatMessage(Desktop &desktop) : desktop_(desktop) {}
    void incorrectFormat(const std::string &keyPath) override {
        showMessage(desktop_, GetActiveWindow(), incorrectFormatText(keyPath), programTitle, MB_OK);
    }

private:
    Desktop &desktop_;
};

int messageLoop(FrmMain &main) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (main.previewKey(message)) continue;
        if (dispatchDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    requestCommonControls();
    const ComApartment com; // for the shell's folder dialog and the taskbar
    Win32Desktop desktop;
    try {
        RunningCopyGuard runningCopy;
        if (runningCopy.anotherCopyRunning()) {
            showMessage(desktop, nullptr, startupText::alreadyRunning, programTitle,
                        MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        IncorrectFormatMessage incorrectFormat(desktop);
        const Registry registry(incorrectFormat);
        SystemFileMoves fileMoves;
        TaskbarButton taskbar;
        SystemAccessibility accessibility;
        FrmMain frmMain(desktop, registry, fileMoves, taskbar, accessibility);
        frmMain.load();
        if (!frmMain.hwnd()) raiseError(err::ComponentNotLoaded);
        frmMain.show();
        return messageLoop(frmMain);
    } catch (...) {
        showStartupError(desktop, caughtError(std::current_exception()));
        return 0;
    }
}
