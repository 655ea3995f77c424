#include "desktop/file_dialog.h"
#include "desktop/common_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

// "Text files|*.txt|" becomes the NUL-separated, double-NUL-ended list the dialog wants.
std::vector<char> dialogFilter(const std::string &barSeparated) {
    std::vector<char> filter(barSeparated.begin(), barSeparated.end());
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    filter.push_back('\0');
    return filter;
}

} // namespace

CurrentDirectoryKept::CurrentDirectoryKept() {
    const DWORD length = GetCurrentDirectoryA(0, nullptr);
    if (length == 0) return;
    std::vector<char> folder(length + 1, '\0');
    if (GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()) != 0) folder_ = folder.data();
}

CurrentDirectoryKept::~CurrentDirectoryKept() {
    if (!folder_.empty()) SetCurrentDirectoryA(folder_.c_str());
}

bool runFileDialog(FileDialogRequest &request) {
    std::vector<char> fileName(32768, '\0');
    std::copy_n(request.fileName.begin(), std::min(request.fileName.size(), fileName.size() - 1),
                fileName.begin());
    std::vector<char> fileTitle(MAX_PATH, '\0');
    const std::vector<char> filter = dialogFilter(request.filter);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.data();
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    dialog.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = request.flags | OFN_EXPLORER;

    const CurrentDirectoryKept kept;
    const BOOL confirmed = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!confirmed) return false;
    request.fileName = fileName.data();
    request.fileTitle = fileTitle.data();
    return true;
}

void CommonDialog::show(bool saving) {
    FileDialogRequest request = *this;
    request.save = saving;
    if (!desktop().showFileDialog(request)) return;
    fileName = request.fileName;
    fileTitle = request.fileTitle;
}
