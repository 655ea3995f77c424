// The system's open and save dialogs, driven by a FileDialogRequest.
#pragma once

#include "desktop/desktop.h"

#include <commdlg.h>

#include <string>

// Keeps the process's current directory for its lifetime. The dialogs move it to the folder the user
// browsed, which then cannot be removed (a USB stick) while the program runs, and Windows may open the
// next dialog there instead of in the folder the program chose.
class CurrentDirectoryKept {
public:
    CurrentDirectoryKept();
    ~CurrentDirectoryKept();
    CurrentDirectoryKept(const CurrentDirectoryKept &) = delete;
    CurrentDirectoryKept &operator=(const CurrentDirectoryKept &) = delete;

private:
    std::string folder_;
};

// The system's two dialogs; a test gives a stand-in that opens as Microsoft documents.
struct SystemFileDialogs {
    BOOL(WINAPI *open)(OPENFILENAMEW *) = GetOpenFileNameW;
    BOOL(WINAPI *save)(OPENFILENAMEW *) = GetSaveFileNameW;
};

// Shows the open or the save dialog in the request's start folder, starting with its file name.
bool runFileDialog(FileDialogRequest &request, const SystemFileDialogs &system = {});
