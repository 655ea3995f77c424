#include "win_fixture.h"

#include "app/appdata.h"
#include "ui/frm_main.h"

#include <fstream>
#include <sstream>

void removeTree(const std::string &folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string WinTest::dataFolder() { return appDataFolder(programFolder()); }

void WinTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, settingsKeyPath);
    std::string data = dataFolder();
    data.pop_back();
    removeTree(data);

    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    temp_ = std::string(base) + "qm-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    removeTree(temp_.substr(0, temp_.size() - 1));
    CreateDirectoryA(temp_.c_str(), nullptr);
}

void WinTest::TearDown() {
    if (main_) {
        main_->setQuitOnUnload(false);
        main_.reset();
    }
    removeTree(temp_.substr(0, temp_.size() - 1));
}

FrmMain &WinTest::main() {
    if (!main_) {
        main_ = std::make_unique<FrmMain>();
        main_->setQuitOnUnload(false);
        main_->load();
    }
    return *main_;
}

std::string WinTest::writeFile(const std::string &name, const std::string &bytes) const {
    const std::string path = temp_ + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string WinTest::readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WinTest::exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
