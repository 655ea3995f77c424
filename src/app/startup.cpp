#include "app/startup.h"
#include "errors/app_error.h"
#include "errors/error_message.h"
#include "errors/show_error.h"
#include "platform/desktop.h"
#include "platform/modal_loop.h"
#include "platform/running_copy.h"
#include "ui/frm_main.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

void requestCommonControls() noexcept {
    INITCOMMONCONTROLSEX request{};
    request.dwSize = 8;
    request.dwICC = 0x200;
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

// COM for the shell's folder dialog, released when the program ends.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    bool initialized_;
};

int messageLoop(FrmMain &main) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (main.previewKey(message)) continue;
        if (dispatchDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace

int Main() {
    requestCommonControls();
    const ComApartment com;
    try {
        RunningCopyGuard runningCopy;
        if (runningCopy.anotherCopyRunning()) {
            showMessage(nullptr, "Quillmere is already running.", "Quillmere", MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        FrmMain frmMain;
        frmMain.load();
        if (!frmMain.hwnd()) raiseError(err::ComponentNotLoaded);
        frmMain.show();
        return messageLoop(frmMain);
    } catch (...) {
        showStartupError(caughtError(std::current_exception()));
        return 0;
    }
}
