// The desktop seam: everything that waits for a person or leaves the program goes through here. The
// windows are handed the desktop they use, so that tests can give them a scripted one.
#pragma once

#include "win.h"

#include <cstdint>
#include <functional>
#include <string>

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::string text;
    std::string title;
    UINT style = MB_OK; // buttons and icon, as for MessageBoxW
};

// A window that can be shown modally; the seam decides how long it stays.
class ModalWindow {
public:
    virtual ~ModalWindow() = default;
    virtual HWND hwnd() const = 0;
    virtual const char *formName() const = 0;
};

struct FileDialogRequest {
    HWND owner = nullptr;
    bool save = false;
    std::string filter; // "Description|pattern|" pairs
    std::string initialDir;
    std::string title;
    DWORD flags = 0;
    std::string fileName;  // in: the name the dialog starts with; out: the chosen name
    std::string fileTitle; // the name without its folder, as the dialog reports it
};

struct FolderDialogRequest {
    HWND owner = nullptr;
    std::string caption;
    std::string instruction;
    std::string startFolder;
    bool newFolderButton = true;
    std::string chosen;                                // out: the folder the user confirmed
    std::function<void(HWND dialog)> selectionChanged; // called while the dialog is open
};

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual int messageBox(const MessageBoxRequest &request) = 0;
    virtual void showModal(ModalWindow &window, HWND owner) = 0;
    virtual bool showFileDialog(FileDialogRequest &request) = 0;     // true when confirmed
    virtual bool showFolderDialog(FolderDialogRequest &request) = 0; // true when confirmed
    virtual void beep() = 0;
    virtual bool startProgram(const std::string &commandLine, int showCommand) = 0;
    virtual void shellOpen(HWND owner, const std::string &file, const std::string &folder,
                           int showCommand) = 0;
    // While the window holds the end of the session (ShutdownBlockReasonCreate), the system shows the
    // reason to a user who logs off or shuts down; released by ShutdownBlockReasonDestroy.
    virtual void holdSessionEnd(HWND window, const std::string &reason) = 0;
    virtual void releaseSessionEnd(HWND window) = 0;
};

// Shorthand for the message boxes the program shows.
int showMessage(Desktop &desktop, HWND owner, const std::string &text, const std::string &title, UINT style);
