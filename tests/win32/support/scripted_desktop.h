// A desktop that records every call and answers from a script, so tests see what a person would.
#pragma once

#include "desktop/desktop.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct DesktopCall {
    // "message", "modal", "file", "folder", "beep", "start", "open", "hold session", "release session"
    std::string kind;
    std::string text; // message text, window name, dialog title, command line, address
    std::string title;
    UINT style = 0;
};

class ScriptedDesktop final : public Desktop {
public:
    std::vector<DesktopCall> calls;

    // What a modal window does while shown (default: nothing); it is closed afterwards.
    std::deque<std::function<void(ModalWindow &)>> modalActions;
    // Answers of the file and folder dialogs: the chosen name or folder, or nullopt to cancel.
    std::deque<std::function<bool(FileDialogRequest &)>> fileAnswers;
    std::deque<std::function<bool(FolderDialogRequest &)>> folderAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<FolderDialogRequest> folderRequests;
    bool startSucceeds = true;
    // Runs while a message box is on screen, to see the window behind it.
    std::function<void(const MessageBoxRequest &)> whileMessageShown;

    int messageBox(const MessageBoxRequest &request) override;
    void showModal(ModalWindow &window, HWND owner) override;
    bool showFileDialog(FileDialogRequest &request) override;
    bool showFolderDialog(FolderDialogRequest &request) override;
    void beep() override { calls.push_back({"beep", "", "", 0}); }
    bool startProgram(const std::string &commandLine, int showCommand) override;
    void shellOpen(HWND owner, const std::string &file, const std::string &folder, int showCommand) override;
    void holdSessionEnd(HWND, const std::string &reason) override {
        calls.push_back({"hold session", reason, "", 0});
    }
    void releaseSessionEnd(HWND) override { calls.push_back({"release session", "", "", 0}); }

    std::vector<DesktopCall> messages() const;
    // Calls of one kind, in order.
    std::vector<DesktopCall> of(const std::string &kind) const;
};
