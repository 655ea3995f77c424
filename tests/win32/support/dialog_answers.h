// Answers for the scripted file and folder dialogs.
#pragma once

#include "desktop/desktop.h"

#include <functional>
#include <string>

inline std::function<bool(FileDialogRequest &)> chooseFile(const std::string &path) {
    return [path](FileDialogRequest &request) {
        request.fileName = path;
        request.fileTitle = path.substr(path.rfind('\\') + 1);
        return true;
    };
}

inline std::function<bool(FileDialogRequest &)> cancelFileDialog() {
    return [](FileDialogRequest &) { return false; };
}

inline std::function<bool(FolderDialogRequest &)> chooseFolder(const std::string &path) {
    return [path](FolderDialogRequest &request) {
        request.chosen = path;
        return true;
    };
}

inline std::function<bool(FolderDialogRequest &)> cancelFolderDialog() {
    return [](FolderDialogRequest &) { return false; };
}
