#include "scenario_fixture.h"

#include <shlobj.h>

namespace {

struct ClassSearch {
    const char *className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectOfClass(HWND window, LPARAM data) {
    auto &search = *reinterpret_cast<ClassSearch *>(data);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, search.className) == 0) search.found.push_back(window);
    return TRUE;
}

} // namespace

void Scenario::SetUp() { startClean(dataFolder(), "qm-e2e-"); }

std::string Scenario::dataFolder() {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Hollowcrest software\\Quillmere\\";
}

void Scenario::storeSetting(const std::string &name, const std::string &text) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, settingsKeyPath, &key);
    const std::wstring wide = wideOf(text);
    RegSetValueExW(key, wideOf(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::optional<std::string> Scenario::storedSetting(const std::string &name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof data[0];
    if (RegGetValueW(HKEY_CURRENT_USER, wideOf(settingsKeyPath).c_str(), wideOf(name).c_str(), RRF_RT_REG_SZ,
                     nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return utf8Of(data);
}

HWND waitForMessageBox(DWORD processId, const std::string &title, std::chrono::milliseconds limit) {
    return waitForWindow(processId, title, limit, "#32770");
}

bool isChecked(HWND option) { return SendMessageA(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<HWND> childrenOfClass(HWND parent, const char *className) {
    ClassSearch search{className, {}};
    EnumChildWindows(parent, collectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
