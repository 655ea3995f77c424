#include "desktop/file_dialog.h"
#include "path_text.h"
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

// What the dialog's file name box starts with. Since Windows 7 the dialog takes lpstrInitialDir only
// until the user has browsed somewhere: given the same folder again, it opens where the user last
// was. A path in the file name it always opens in, so the start folder goes there, before the name
// (which may be empty); a name that names a folder of its own keeps it, as lpstrFile always did.
std::wstring startingFileName(const FileDialogRequest &request) {
    const bool nameHasFolder = request.fileName.find_first_of("\\/:") != std::string::npos;
    if (request.initialDir.empty() || nameHasFolder) return toWide(request.fileName);
    return toWide(addBackslash(request.initialDir) + request.fileName);
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

bool runFileDialog(FileDialogRequest &request, const SystemFileDialogs &system) {
    const std::wstring startName = startingFileName(request);
    std::vector<wchar_t> fileName(32768, L'\0');
    std::copy_n(startName.begin(), std::min(startName.size(), fileName.size() - 1), fileName.begin());
    std::vector<wchar_t> fileTitle(MAX_PATH, L'\0');
    const std::vector<wchar_t> filter = dialogFilter(request.filter);
    const std::wstring title = toWide(request.title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.data();
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    dialog.lpstrInitialDir = nullptr; // the start folder is in the file name
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = request.flags | OFN_EXPLORER;

    const CurrentDirectoryKept kept;
    const BOOL confirmed = request.save ? system.save(&dialog) : system.open(&dialog);
    if (!confirmed) return false;
    request.fileName = toUtf8(fileName.data());
    request.fileTitle = toUtf8(fileTitle.data());
    return true;
}
