// Files and folders dropped on the main window. A drop is a Browse that chose the dropped path: the
// Browse button of the path's kind takes it, with its checks, messages, file count and list. What
// no Browse button could have chosen (several items, a missing item, a destination file) is refused
// and changes nothing.
#include "main/frm_main.h"
#include "messages.h"
#include "window/dropped_files.h"

#include <algorithm>

namespace {

void refuseDrop(FrmMain &frm, const std::string &text) {
    frm.showMessage(text, pickerText::title, MB_OK | MB_ICONEXCLAMATION);
}

// The message for a drop of several items, by what they are.
const std::string &severalItemsText(const std::vector<PathKind> &kinds) {
    const auto count = [&](PathKind kind) { return std::count(kinds.begin(), kinds.end(), kind); };
    const auto items = static_cast<std::ptrdiff_t>(kinds.size());
    if (count(PathKind::File) == items) return dropText::severalFiles;
    if (count(PathKind::Folder) == items) return dropText::severalFolders;
    if (count(PathKind::Missing) > 0) return dropText::notAvailable;
    return dropText::filesAndFolders;
}

bool droppedOn(const FrmMain &frm, const DroppedFiles &dropped, const TextBox &box) {
    return dropped.inClientArea && pointOnControl(frm.hwnd(), dropped.point, box.hwnd());
}

void takeDrop(FrmMain &frm, const DroppedFiles &dropped) {
    if (dropped.paths.empty()) return;
    std::vector<PathKind> kinds;
    for (const std::string &path : dropped.paths) kinds.push_back(pathKind(path));
    if (kinds.size() > 1) return refuseDrop(frm, severalItemsText(kinds));

    const std::string &path = dropped.paths.front();
    switch (kinds.front()) {
    case PathKind::Missing: return refuseDrop(frm, dropText::notAvailable);
    case PathKind::Folder:
        if (droppedOn(frm, dropped, frm.txtMultipleFilesDestinationPath))
            return frm.takeDestinationFolder(path);
        return frm.takeSourceFolder(path);
    case PathKind::File:
        // The destination file is named in the save dialog; a dropped file is always an existing one.
        if (droppedOn(frm, dropped, frm.txtDest)) return refuseDrop(frm, dropText::fileOnDestination);
        return frm.takeSourceFile(path);
    }
}

} // namespace

void FrmMain::Form_DropFiles(HDROP drop) {
    guarded("frmMain - Form_DropFiles", [&] {
        const DroppedFiles dropped = takeDroppedFiles(drop);
        // A run works from the boxes and the list; a window disabled under a message waits for it.
        if (runInProgress() || !IsWindowEnabled(hwnd())) return;
        takeDrop(*this, dropped);
    });
}
