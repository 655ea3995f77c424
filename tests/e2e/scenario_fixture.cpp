#include "scenario_fixture.h"

#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace {

struct DialogSearch {
    DWORD processId;
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data) {
    auto &search = *reinterpret_cast<DialogSearch *>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search.processId || !IsWindowVisible(window) || std::string(className) != "#32770" ||
        textOf(window) != search.title)
        return TRUE;
    search.found = window;
    return FALSE;
}

struct ClassSearch {
    const char *className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectOfClass(HWND window, LPARAM data) {
    auto &search = *reinterpret_cast<ClassSearch *>(data);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, search.className) == 0)
        search.found.push_back(window);
    return TRUE;
}

} // namespace

void Scenario::SetUp() {
    forgetSettingsAndData(dataFolder());
    temp_ = freshTestFolder("qm-e2e-");
}

void Scenario::TearDown() { removeTree(temp_.substr(0, temp_.size() - 1)); }

std::string Scenario::writeFile(const std::string &name, const std::string &bytes) const {
    writeBytes(temp_ + name, bytes);
    return temp_ + name;
}

std::string Scenario::readFile(const std::string &path) { return readBytes(path); }

std::string Scenario::dataFolder() {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Hollowcrest software\\Quillmere\\";
}

void Scenario::storeSetting(const std::string &name, const std::string &text) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, settingsKeyPath, &key);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

std::optional<std::string> Scenario::storedSetting(const std::string &name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, settingsKeyPath, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

HWND waitForMessageBox(DWORD processId, const std::string &title, std::chrono::milliseconds limit) {
    DialogSearch search{processId, title};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || std::chrono::steady_clock::now() > deadline)
            return search.found;
        std::this_thread::sleep_for(20ms);
    }
}

bool isChecked(HWND option) { return SendMessageA(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<HWND> childrenOfClass(HWND parent, const char *className) {
    ClassSearch search{className, {}};
    EnumChildWindows(parent, collectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
