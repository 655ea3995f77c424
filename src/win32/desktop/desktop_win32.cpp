#include "desktop/desktop_win32.h"
#include "desktop/file_dialog.h"
#include "desktop/folder_dialog.h"
#include "wide_text.h"
#include "window/modal_loop.h"

#include <shellapi.h>

#include <vector>

int Win32Desktop::messageBox(const MessageBoxRequest &request) {
    const std::wstring text = toWide(request.text), title = toWide(request.title);
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = request.owner;
    params.lpszText = text.c_str();
    params.lpszCaption = title.c_str();
    params.dwStyle = request.style;
    return MessageBoxIndirectW(&params);
}

void Win32Desktop::showModal(ModalWindow &window, HWND owner) { runModal(window.hwnd(), owner); }

bool Win32Desktop::showFileDialog(FileDialogRequest &request) { return runFileDialog(request); }

bool Win32Desktop::showFolderDialog(FolderDialogRequest &request) { return runFolderDialog(request); }

void Win32Desktop::beep() { MessageBeep(MB_OK); }

bool Win32Desktop::startProgram(const std::string &commandLine, int showCommand) {
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

void Win32Desktop::shellOpen(HWND owner, const std::string &file, const std::string &folder,
                             int showCommand) {
    ShellExecuteW(owner, nullptr, toWide(file).c_str(), nullptr, toWide(folder).c_str(), showCommand);
}

int showMessage(Desktop &desktop, HWND owner, const std::string &text, const std::string &title, UINT style) {
    MessageBoxRequest request;
    request.owner = owner;
    request.text = text;
    request.title = title;
    request.style = style;
    return desktop.messageBox(request);
}

// Both fail on systems that have no such reasons; the session then ends as it would have.
void Win32Desktop::holdSessionEnd(HWND window, const std::string &reason) {
    ShutdownBlockReasonCreate(window, toWide(reason).c_str());
}

void Win32Desktop::releaseSessionEnd(HWND window) { ShutdownBlockReasonDestroy(window); }
