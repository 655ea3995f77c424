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

// One folder's leftovers, as putRightLeftovers asks for them.
class FolderLeftovers : public LeftoverFiles {
public:
    FolderLeftovers(const std::string &folder, FileMoves &calls) : folder_(folder), calls_(calls) {}
    bool processIsRunning(unsigned long processId) override { return ::processIsRunning(processId); }
    NamePresence presenceOf(const std::string &name) override {
        return calls_.attributes(joined(folder_, name)) == INVALID_FILE_ATTRIBUTES ? NamePresence::Free
                                                                                   : NamePresence::Taken;
    }
    void restore(const std::string &backupName, const std::string &destinationName) override {
        calls_.moveToFreeName(joined(folder_, backupName), joined(folder_, destinationName));
    }
    void remove(const std::string &name) override { calls_.remove(joined(folder_, name)); }

private:
    const std::string &folder_;
    FileMoves &calls_;
};

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
    FolderLeftovers files(folder, calls);
    putRightLeftovers(ownNamesIn(folder), GetCurrentProcessId(), files);
}
