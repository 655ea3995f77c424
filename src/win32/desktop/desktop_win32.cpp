// The real desktop: message boxes, modal windows, dialogs and the shell.
#include "desktop/desktop.h"
#include "desktop/file_dialog.h"
#include "desktop/folder_dialog.h"
#include "window/modal_loop.h"

#include <shellapi.h>

#include <vector>

namespace {

class Win32Desktop final : public Desktop {
public:
    int messageBox(const MessageBoxRequest &request) override {
        MSGBOXPARAMSA params{};
        params.cbSize = sizeof params;
        params.hwndOwner = request.owner;
        params.lpszText = request.text.c_str();
        params.lpszCaption = request.title.c_str();
        params.dwStyle = request.style;
        params.dwContextHelpId = static_cast<DWORD_PTR>(request.helpContext);
        return MessageBoxIndirectA(&params);
    }

    void showModal(ModalWindow &window, HWND owner) override { runModal(window.hwnd(), owner); }

    bool showFileDialog(FileDialogRequest &request) override { return runFileDialog(request); }

    bool showFolderDialog(FolderDialogRequest &request) override { return runFolderDialog(request); }

    void beep() override { MessageBeep(MB_OK); }

    bool startProgram(const std::string &commandLine, int showCommand) override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    void shellOpen(HWND owner, const std::string &file, const std::string &folder, int showCommand) override {
        ShellExecuteA(owner, nullptr, file.c_str(), nullptr, folder.c_str(), showCommand);
    }
};

Win32Desktop realDesktop;
Desktop *current = &realDesktop;

} // namespace

Desktop &desktop() { return *current; }

DesktopOverride::DesktopOverride(Desktop &replacement) : previous_(current) { current = &replacement; }

DesktopOverride::~DesktopOverride() { current = previous_; }

int showMessage(HWND owner, const std::string &text, const std::string &title, UINT style) {
    MessageBoxRequest request;
    request.owner = owner;
    request.text = text;
    request.title = title;
    request.style = style;
    return desktop().messageBox(request);
}
