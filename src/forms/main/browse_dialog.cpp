#include "main/browse_dialog.h"

namespace {

// The shell gives its new-folder button this control id.
constexpr int newFolderButtonId = 0x3746;

} // namespace

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
        if (selectionChanged) selectionChanged(dialog);
    };
    struct Forget {
        HWND &dialog;
        ~Forget() { dialog = nullptr; }
    } forget{dialog_};
    if (!desktop_.showFolderDialog(request)) return false;
    folderPath = request.chosen;
    return true;
}
