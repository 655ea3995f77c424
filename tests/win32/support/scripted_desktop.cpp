#include "scripted_desktop.h"

int ScriptedDesktop::messageBox(const MessageBoxRequest &request) {
    calls.push_back({"message", request.text, request.title, request.style});
    if (whileMessageShown) whileMessageShown(request);
    return IDOK;
}

void ScriptedDesktop::showModal(ModalWindow &window, HWND) {
    calls.push_back({"modal", window.formName(), "", 0});
    if (!modalActions.empty()) {
        auto action = std::move(modalActions.front());
        modalActions.pop_front();
        action(window);
    }
    if (IsWindow(window.hwnd())) SendMessageA(window.hwnd(), WM_CLOSE, 0, 0);
}

bool ScriptedDesktop::showFileDialog(FileDialogRequest &request) {
    calls.push_back({"file", request.title, request.filter, request.flags});
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return false;
    auto answer = std::move(fileAnswers.front());
    fileAnswers.pop_front();
    return answer(request);
}

bool ScriptedDesktop::showFolderDialog(FolderDialogRequest &request) {
    calls.push_back({"folder", request.caption, request.instruction, 0});
    folderRequests.push_back(request);
    if (folderAnswers.empty()) return false;
    auto answer = std::move(folderAnswers.front());
    folderAnswers.pop_front();
    return answer(request);
}

bool ScriptedDesktop::startProgram(const std::string &commandLine, int showCommand) {
    calls.push_back({"start", commandLine, "", static_cast<UINT>(showCommand)});
    return startSucceeds;
}

void ScriptedDesktop::shellOpen(HWND, const std::string &file, const std::string &folder, int showCommand) {
    calls.push_back({"open", file, folder, static_cast<UINT>(showCommand)});
}

std::vector<DesktopCall> ScriptedDesktop::messages() const { return of("message"); }

std::vector<DesktopCall> ScriptedDesktop::of(const std::string &kind) const {
    std::vector<DesktopCall> found;
    for (const DesktopCall &call : calls)
        if (call.kind == kind) found.push_back(call);
    return found;
}
