#include "desktop/folder_dialog.h"
#include "desktop/file_dialog.h"
#include "handles.h"
#include "wide_text.h"

#include <shlobj.h>

#include <memory>

namespace {

int CALLBACK folderDialogEvent(HWND dialog, UINT message, LPARAM param, LPARAM data) noexcept {
    auto &request = *reinterpret_cast<FolderDialogRequest *>(data);
    try {
        if (message == BFFM_INITIALIZED) {
            SetWindowTextW(dialog, toWide(request.caption).c_str());
            if (!request.startFolder.empty())
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                             reinterpret_cast<LPARAM>(toWide(request.startFolder).c_str()));
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
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring instruction = toWide(request.instruction);
    BROWSEINFOW info{};
    info.hwndOwner = request.owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = instruction.c_str();
    info.ulFlags =
        BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | (request.newFolderButton ? 0 : BIF_NONEWFOLDERBUTTON);
    info.lpfn = folderDialogEvent;
    info.lParam = reinterpret_cast<LPARAM>(&request);

    const CurrentDirectoryKept kept;
    Pidl chosen(SHBrowseForFolderW(&info));
    if (!chosen) return false;
    wchar_t path[MAX_PATH] = {};
    request.chosen = SHGetPathFromIDListW(chosen.get(), path) ? toUtf8(path) : "";
    return true;
}
