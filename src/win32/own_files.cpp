#include "own_files.h"

#include "wide_text.h"
#include "win_error.h"

#include <vector>

namespace {

std::string joined(const std::string &folder, const std::string &name) {
    const char last = folder.empty() ? '\\' : folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

std::vector<std::string> ownNamesIn(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW(widePath(joined(folder, "~qm*")).c_str(), &entry));
    if (!search.valid()) return names;
    do
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(toUtf8(entry.cFileName));
    while (FindNextFileW(search.get(), &entry));
    return names;
}

} // namespace

FileHandle createSpillFile(const std::string &folder) {
    for (;;) {
        const std::string name = folder + ownTemporaryName(ownFileStem(), "standard input");
        FileHandle file(CreateFileW(widePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                    nullptr));
        if (file.valid()) return file;
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) raiseWin32(code);
    }
}

std::string temporaryFolder() {
    wchar_t folder[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 2, folder);
    if (length == 0 || length > MAX_PATH + 1) raiseLastError();
    return toUtf8(std::wstring(folder, length));
}

bool processIsRunning(unsigned long processId) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED; // there, but another user's
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

void recoverLeftovers(const std::string &folder, FileMoves &calls) {
    const unsigned long self = GetCurrentProcessId();
    std::vector<std::string> temporaries;
    for (const std::string &name : ownNamesIn(folder)) {
        const std::optional<OwnFileName> own = readOwnFileName(name);
        if (!own || own->processId == self || processIsRunning(own->processId)) continue;
        const std::string path = joined(folder, name);
        if (!own->backup) {
            temporaries.push_back(path);
            continue;
        }
        if (own->destinationName.empty()) continue; // whose it is cannot be told: it stays
        const std::string destination = joined(folder, own->destinationName);
        if (calls.attributes(destination) == INVALID_FILE_ATTRIBUTES)
            calls.moveToFreeName(path, destination);
        else
            calls.remove(path);
    }
    // After the backups: a temporary file is never the only copy of a destination's text.
    for (const std::string &path : temporaries) calls.remove(path);
}
