// The system's open and save dialogs, driven by a FileDialogRequest.
#pragma once

#include "desktop/desktop.h"

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

bool runFileDialog(FileDialogRequest &request);
