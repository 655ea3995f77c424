// The folder-browse dialog object: its settings, the folder it starts in and returns, and a
// notification each time the selection changes while it is open. Shown through the desktop seam.
#pragma once

#include "desktop/desktop.h"

#include <functional>
#include <string>

class BrowseDialog {
public:
    explicit BrowseDialog(Desktop &desktop) : desktop_(desktop) {}

    HWND hwndOwner = nullptr;
    bool newFolderButton = false; // offers a button that makes a new folder under the selection
    std::string title;            // the dialog's caption
    std::string instruction;      // the line above the folder tree
    std::string folderPath;       // in: where the tree opens; out: the confirmed folder

    // Raised while the dialog is open, each time the selection changes.
    std::function<void(HWND dialog)> selectionChanged;

    // True when the user confirmed a folder (folderPath then holds it).
    bool browse();

    // While the dialog is open: its window, and its new-folder button; nullptr otherwise.
    HWND dialogWindow() const { return dialog_; }
    HWND newFolderButtonWindow() const;

private:
    Desktop &desktop_;
    HWND dialog_ = nullptr;
};
