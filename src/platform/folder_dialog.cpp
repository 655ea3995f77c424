#include "platform/folder_dialog.h"
#include "platform/file_dialog.h"

#include <shlobj.h>

#include <memory>

namespace {

struct PidlFree {
    void operator()(ITEMIDLIST *pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

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
