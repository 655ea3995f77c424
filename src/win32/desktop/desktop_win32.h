// The real desktop: message boxes, modal windows, the file and folder dialogs, the system beep and
// the shell. Start-up makes one and hands it to the windows.
#pragma once

#include "desktop/desktop.h"

class Win32Desktop final : public Desktop {
public:
    int messageBox(const MessageBoxRequest &request) override;
    void showModal(ModalWindow &window, HWND owner) override;
    bool showFileDialog(FileDialogRequest &request) override;
    bool showFolderDialog(FolderDialogRequest &request) override;
    void beep() override;
    bool startProgram(const std::string &commandLine, int showCommand) override;
    void shellOpen(HWND owner, const std::string &file, const std::string &folder, int showCommand) override;
    void holdSessionEnd(HWND window, const std::string &reason) override;
    void releaseSessionEnd(HWND window) override;
};
