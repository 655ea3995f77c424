// Files and folders dropped on the main window. A drop is a Browse that chose the dropped path: the
// Browse button of the path's kind takes it, with the same start, checks, messages, file count and
// list. What no Browse button could have chosen (several items, a missing item, a destination file)
// is refused and changes nothing.
#include "main/frm_main.h"
#include "messages.h"
#include "window/dropped_files.h"

#include <algorithm>

namespace {

// The message for a drop of several items, by what they are.
const std::string &severalItemsText(const std::vector<PathKind> &kinds) {
    const auto count = [&](PathKind kind) { return std::count(kinds.begin(), kinds.end(), kind); };
    const auto items = static_cast<std::ptrdiff_t>(kinds.size());
    if (count(PathKind::File) == items) return dropText::severalFiles;
    if (count(PathKind::Folder) == items) return dropText::severalFolders;
    if (count(PathKind::Missing) > 0) return dropText::notAvailable;
    return dropText::filesAndFolders;
}

} // namespace

bool FrmMain::droppedOn(const DroppedFiles &dropped, const TextBox &box) const {
    return dropped.inClientArea && pointOnControl(hwnd(), dropped.point, box.hwnd());
}

void FrmMain::takeDrop(const DroppedFiles &dropped) {
    if (dropped.paths.empty()) return;
    std::vector<PathKind> kinds;
    for (const std::string &path : dropped.paths) kinds.push_back(pathKind(path));
    if (kinds.size() > 1) {
        refuseChoice(severalItemsText(kinds));
        return;
    }
    Controls &c = controls_;
    const std::string &path = dropped.paths.front();
    switch (kinds.front()) {
    case PathKind::Missing: refuseChoice(dropText::notAvailable); return;
    case PathKind::Folder:
        if (droppedOn(dropped, c.destinationFolderBox)) {
            selectOperation(c.multipleFilesOption);
            return keepDestinationFolder(path, c.destinationFolderBox.text());
        }
        startSourceFolderPicker();
        return keepSourceFolder(path, c.sourceFolderBox.text());
    case PathKind::File:
        // The destination file is named in the save dialog; a dropped file is always an existing one.
        if (droppedOn(dropped, c.destinationFileBox)) {
            refuseChoice(dropText::fileOnDestination);
            return;
        }
        startFilePicker();
        keepFileChoice(path, c.sourceFileBox, c.destinationFileBox, pickerText::sameFileForSource);
        return;
    }
}

void FrmMain::filesDropped(HDROP drop) {
    guarded("frmMain - Form_DropFiles", [&] {
        const DroppedFiles dropped = takeDroppedFiles(drop);
        // A run works from the boxes and the list; a window disabled under a message waits for it.
        if (run_.running || !IsWindowEnabled(hwnd())) return;
        takeDrop(dropped);
    });
}
