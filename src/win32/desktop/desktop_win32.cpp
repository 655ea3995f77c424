// The real desktop: message boxes, modal windows, dialogs and the shell.
#include "desktop/desktop.h"
#include "desktop/file_dialog.h"
#include "desktop/folder_dialog.h"
#include "wide_text.h"
#include "window/modal_loop.h"

#include <shellapi.h>

#include <vector>

namespace {

class Win32Desktop final : public Desktop {
public:
    int messageBox(const MessageBoxRequest &request) override {
        const std::wstring text = toWide(request.text), title = toWide(request.title);
        MSGBOXPARAMSW params{};
        params.cbSize = sizeof params;
        params.hwndOwner = request.owner;
        params.lpszText = text.c_str();
        params.lpszCaption = title.c_str();
        params.dwStyle = request.style;
        params.dwContextHelpId = static_cast<DWORD_PTR>(request.helpContext);
        return MessageBoxIndirectW(&params);
    }

    void showModal(ModalWindow &window, HWND owner) override { runModal(window.hwnd(), owner); }

    bool showFileDialog(FileDialogRequest &request) override { return runFileDialog(request); }

    bool showFolderDialog(FolderDialogRequest &request) override { return runFolderDialog(request); }

    void beep() override { MessageBeep(MB_OK); }

    bool startProgram(const std::string &commandLine, int showCommand) override {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        // The call may write into the command line, so it gets a copy of its own.
        const std::wstring wide = toWide(commandLine);
        std::vector<wchar_t> line(wide.begin(), wide.end());
        line.push_back(L'\0');
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    void shellOpen(HWND owner, const std::string &file, const std::string &folder, int showCommand) override {
        ShellExecuteW(owner, nullptr, toWide(file).c_str(), nullptr, toWide(folder).c_str(), showCommand);
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
