#include "platform/write_probe.h"
#include "platform/handles.h"
#include "platform/win_error.h"

namespace {

// CREATE_NEW never opens an existing file, so only a file this probe made is ever deleted.
DWORD makeAndRemove(const std::string &path) {
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return GetLastError();
    file.close();
    DeleteFileA(path.c_str());
    return ERROR_SUCCESS;
}

DWORD makeAndRemoveFreshName(const std::string &folder) {
    char made[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "qm", 0, made)) return GetLastError();
    DeleteFileA(made);
    return ERROR_SUCCESS;
}

} // namespace

bool folderDeniesWriting(const std::string &folder) noexcept {
    try {
        DWORD outcome = makeAndRemove(folder + "test.txt");
        if (outcome == ERROR_FILE_EXISTS || outcome == ERROR_ALREADY_EXISTS)
            outcome = makeAndRemoveFreshName(folder);
        return outcome != ERROR_SUCCESS && errorNumberForWin32(outcome) == err::PathFileAccess;
    } catch (...) {
        return false;
    }
}
