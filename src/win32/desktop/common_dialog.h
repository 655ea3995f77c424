// The main window's file dialog control. It keeps its settings and its file name between
// showings: the next showing starts with the name the last one left, and a cancelled showing
// leaves the name as it was.
#pragma once

#include "desktop/desktop.h"

#include <string>

class CommonDialog {
public:
    HWND owner = nullptr;
    std::string filter; // "Description|pattern|" pairs
    DWORD flags = 0;    // OFN_ options
    std::string initDir;
    std::string dialogTitle;
    std::string fileName;  // the dialog's result; empty after a cancel that started empty
    std::string fileTitle; // the chosen name without its folder

    void showOpen() { show(false); }
    void showSave() { show(true); }

private:
    void show(bool save);
};
