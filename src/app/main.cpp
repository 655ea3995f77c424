// Start-up: common controls, a single copy, the main window, the message loop.
#include "app_error.h"
#include "com_objects.h"
#include "desktop/desktop.h"
#include "desktop/show_error.h"
#include "error_message.h"
#include "main/frm_main.h"
#include "messages.h"
#include "registry.h"
#include "running_copy.h"
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

void showStartupError(const AppError &error) {
    MessageBoxRequest request;
    request.text = startupErrorText(error.number, error.description);
    request.title = "Error";
    request.style = MB_OK;
    request.helpFile = error.helpFile;
    request.helpContext = error.helpContext;
    desktop().messageBox(request);
}

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
    try {
        RunningCopyGuard runningCopy;
        if (runningCopy.anotherCopyRunning()) {
            showMessage(nullptr, startupText::alreadyRunning, programTitle, MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        Registry::onIncorrectFormat([](const std::string &keyPath) {
            showMessage(GetActiveWindow(), incorrectFormatText(keyPath), programTitle, MB_OK);
        });
        TaskbarButton taskbar;
        FrmMain frmMain(taskbar);
        frmMain.load();
        if (!frmMain.hwnd()) raiseError(err::ComponentNotLoaded);
        frmMain.show();
        return messageLoop(frmMain);
    } catch (...) {
        showStartupError(caughtError(std::current_exception()));
        return 0;
    }
}
