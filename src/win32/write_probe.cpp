#include "write_probe.h"

#include "handles.h"
#include "path_text.h"
#include "wide_text.h"

namespace {

ProbeResult resultOf(DWORD code) {
    // Only a refusal says the folder is unusable; a missing folder is judged by other checks.
    return code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT ? ProbeResult::AccessRefused
                                                                      : ProbeResult::OtherFailure;
}

bool alreadyThere(DWORD code) { return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS; }

// CREATE_NEW never touches an existing file; only the file made here is deleted.
DWORD createAndRemove(const std::string &path) {
    FileHandle file(CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return GetLastError();
    file.close();
    DeleteFileW(widePath(path).c_str());
    return ERROR_SUCCESS;
}

// The folder already holds a "test.txt": probe under a name the platform makes unique instead.
DWORD probeUnderAnotherName(const std::string &folder) {
    wchar_t made[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(toWide(folder).c_str(), L"qm", 0, made)) return GetLastError();
    DeleteFileW(made);
    return ERROR_SUCCESS;
}

} // namespace

ProbeResult probeFolderForWriting(const std::string &folder) {
    const std::string withBackslash = addBackslash(folder);
    DWORD code = createAndRemove(withBackslash + "test.txt");
    if (alreadyThere(code)) code = probeUnderAnotherName(withBackslash);
    return code == ERROR_SUCCESS ? ProbeResult::Writable : resultOf(code);
}
