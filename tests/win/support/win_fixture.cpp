#include "win_fixture.h"

#include "app/appdata.h"
#include "ui/frm_main.h"


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
    writeBytes(temp_ + name, bytes);
    return temp_ + name;
}

std::string WinTest::readFile(const std::string &path) { return readBytes(path); }

bool WinTest::exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
