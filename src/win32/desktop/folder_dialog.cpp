#include "desktop/folder_dialog.h"
#include "desktop/browse_dialog.h"
#include "handles.h"
#include "desktop/file_dialog.h"

#include <shlobj.h>

#include <memory>

namespace {

// The shell gives its new-folder button this control id.
constexpr int newFolderButtonId = 0x3746;

int CALLBACK folderDialogEvent(HWND dialog, UINT message, LPARAM param, LPARAM data) noexcept {
    auto &request = *reinterpret_cast<FolderDialogRequest *>(data);
    try {
        if (message == BFFM_INITIALIZED) {
            SetWindowTextA(dialog, request.caption.c_str());
            if (!request.startFolder.empty())
                SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(request.startFolder.c_str()));
        } else if (message == BFFM_SELCHANGED && request.selectionChanged) {
            request.selectionChanged(dialog);
        }
    } catch (...) {
        // Nothing may unwind through the shell's frames; a failing notification is dropped.
    }
    (void)param;
    return 0;
}

} // namespace

bool runFolderDialog(FolderDialogRequest &request) {
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = request.owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = request.instruction.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | (request.newFolderButton ? 0 : BIF_NONEWFOLDERBUTTON);
    info.lpfn = folderDialogEvent;
    info.lParam = reinterpret_cast<LPARAM>(&request);

    const CurrentDirectoryKept kept;
    Pidl chosen(SHBrowseForFolderA(&info));
    if (!chosen) return false;
    char path[MAX_PATH] = {};
    request.chosen = SHGetPathFromIDListA(chosen.get(), path) ? path : "";
    return true;
}

HWND BrowseDialog::newFolderButtonWindow() const {
    return dialog_ ? GetDlgItem(dialog_, newFolderButtonId) : nullptr;
}

bool BrowseDialog::browse() {
    FolderDialogRequest request;
    request.owner = hwndOwner;
    request.caption = title;
    request.instruction = instruction;
    request.startFolder = folderPath;
    request.newFolderButton = newFolderButton;
    request.selectionChanged = [this](HWND dialog) {
        dialog_ = dialog;
        bool okEnabled = true;
        if (selectionChanged) selectionChanged(dialog, okEnabled);
    };
    struct Forget {
        HWND &dialog;
        ~Forget() { dialog = nullptr; }
    } forget{dialog_};
    if (!desktop().showFolderDialog(request)) return false;
    folderPath = request.chosen;
    return true;
}
