#include "window/modal_loop.h"
#include "window/controls.h"

namespace {

const wchar_t *const modalOwnerProperty = L"QuillmereModalOwner";

} // namespace

void hideKeyboardCuesUntilUsed(HWND window) {
    BOOL alwaysShown = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
    if (!alwaysShown)
        SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

void releaseModalOwner(HWND window) {
    HWND owner = static_cast<HWND>(RemovePropW(window, modalOwnerProperty));
    if (owner) EnableWindow(owner, TRUE);
}

namespace {

// The keyboard is in use: from the first Tab or arrow key the focus rectangle shows, from Alt the access
// keys too, in the whole window, and they stay shown while it is open.
void showKeyboardCues(const MSG &message) {
    WORD cues = 0;
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_TAB || message.wParam == VK_LEFT || message.wParam == VK_RIGHT ||
         message.wParam == VK_UP || message.wParam == VK_DOWN))
        cues = UISF_HIDEFOCUS;
    else if (message.message == WM_SYSKEYDOWN && message.wParam == VK_MENU)
        cues = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    // Asked at every such key: a window whose cues show already is left as it is by the system.
    HWND root = cues && message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root) SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
}

} // namespace

bool dispatchDialogKeys(MSG &message) {
    showKeyboardCues(message);
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
