#include "desktop/file_dialog.h"
#include "wide_text.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

// "Text files|*.txt|" becomes the NUL-separated, double-NUL-ended list the dialog wants.
std::vector<wchar_t> dialogFilter(const std::string &barSeparated) {
    const std::wstring wide = toWide(barSeparated);
    std::vector<wchar_t> filter(wide.begin(), wide.end());
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

} // namespace

CurrentDirectoryKept::CurrentDirectoryKept() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return;
    std::vector<wchar_t> folder(length + 1, L'\0');
    if (GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()) != 0)
        folder_ = toUtf8(folder.data());
}

CurrentDirectoryKept::~CurrentDirectoryKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(toWide(folder_).c_str());
}

bool runFileDialog(FileDialogRequest &request) {
    const std::wstring startName = toWide(request.fileName);
    std::vector<wchar_t> fileName(32768, L'\0');
    std::copy_n(startName.begin(), std::min(startName.size(), fileName.size() - 1), fileName.begin());
    std::vector<wchar_t> fileTitle(MAX_PATH, L'\0');
    const std::vector<wchar_t> filter = dialogFilter(request.filter);
    const std::wstring initialDir = toWide(request.initialDir), title = toWide(request.title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.data();
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = request.flags | OFN_EXPLORER;

    const CurrentDirectoryKept kept;
    const BOOL confirmed = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!confirmed) return false;
    request.fileName = toUtf8(fileName.data());
    request.fileTitle = toUtf8(fileTitle.data());
    return true;
}
