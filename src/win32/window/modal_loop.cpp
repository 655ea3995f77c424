#include "window/modal_loop.h"
#include "window/controls.h"

namespace {

const wchar_t *const modalOwnerProperty = L"QuillmereModalOwner";

} // namespace

void releaseModalOwner(HWND window) {
    HWND owner = static_cast<HWND>(RemovePropW(window, modalOwnerProperty));
    if (owner) EnableWindow(owner, TRUE);
}

bool dispatchDialogKeys(MSG &message) {
    if (moveInOptionGroup(message)) return true;
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return root && IsDialogMessageW(root, &message) != 0;
}

void runModal(HWND window, HWND owner) {
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
        SetPropW(window, modalOwnerProperty, owner);
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam)); // leave the quit for the outer loop
            break;
        }
        if (got < 0) break;
        if (dispatchDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (IsWindow(window)) releaseModalOwner(window); // the loop ended with the window still there
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE); // also when the window went some other way than destroyWindow
        SetActiveWindow(owner);
    }
}

void yieldToMessageLoop() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (dispatchDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
