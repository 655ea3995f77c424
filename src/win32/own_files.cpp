#include "own_files.h"

#include "wide_text.h"
#include "win_error.h"

#include <atomic>
#include <cctype>
#include <vector>

namespace {

// NTFS, FAT32 and exFAT take names of up to 255 UTF-16 units.
constexpr std::size_t longestName = 255;

bool fits(const std::string &name) { return toWide(name).size() <= longestName; }

bool endsWithFolded(const std::string &text, const std::string &end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i])
            return false;
    return true;
}

// Reads the digits at `at`; false where there are none.
bool readNumber(const std::string &text, std::size_t &at, unsigned long &number) {
    const std::size_t start = at;
    number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - start < 10)
        number = number * 10 + static_cast<unsigned long>(text[at++] - '0');
    return at > start;
}

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

std::string ownFileStem() {
    static std::atomic<unsigned> serial{0};
    return "~qm" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
}

std::string ownTemporaryName(const std::string &stem, const std::string &destinationName) {
    const std::string named = stem + "." + destinationName + ".tmp";
    return !destinationName.empty() && fits(named) ? named : stem + ".tmp";
}

std::string ownBackupName(const std::string &stem, const std::string &destinationName, int backupNumber) {
    const std::string numbered = backupNumber == 0 ? stem : stem + "-" + std::to_string(backupNumber);
    const std::string named = numbered + "." + destinationName + ".bak";
    return !destinationName.empty() && fits(named) ? named : numbered + ".bak";
}

std::optional<OwnFileName> readOwnFileName(const std::string &name) {
    if (name.size() < 3 || (name.compare(0, 3, "~qm") != 0 && name.compare(0, 3, "~QM") != 0))
        return std::nullopt;
    OwnFileName read;
    if (endsWithFolded(name, ".bak"))
        read.backup = true;
    else if (!endsWithFolded(name, ".tmp"))
        return std::nullopt;
    std::size_t at = 3;
    unsigned long serial = 0;
    if (!readNumber(name, at, read.processId) || at >= name.size() || name[at++] != '-' ||
        !readNumber(name, at, serial))
        return std::nullopt;
    if (read.backup && at < name.size() && name[at] == '-') {
        ++at;
        if (!readNumber(name, at, serial)) return std::nullopt;
    }
    const std::size_t end = name.size() - 4;
    if (at == end) return read;
    if (name[at] != '.' || at + 1 >= end) return std::nullopt;
    read.destinationName = name.substr(at + 1, end - at - 1);
    return read;
}

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
