#include "win_fixture.h"

#include "appdata.h"
#include "main/frm_main.h"

std::string WinTest::dataFolder() { return appDataFolder(programFolder()); }

void WinTest::SetUp() { startClean(dataFolder(), "qm-"); }

void WinTest::TearDown() {
    if (main_) {
        main_->setQuitOnUnload(false);
        main_.reset();
    }
    FreshFolderTest::TearDown();
}

FrmMain &WinTest::main() {
    if (!main_) {
        main_ = std::make_unique<FrmMain>();
        main_->setQuitOnUnload(false);
        main_->load();
    }
    return *main_;
}

bool WinTest::exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

RECT placeInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}
