#include "win_fixture.h"

#include "appdata.h"

std::string WinTest::dataFolder() { return appDataFolder(programFolder()); }

void WinTest::SetUp() { startClean(dataFolder(), "qm-"); }

void WinTest::TearDown() { FreshFolderTest::TearDown(); }

bool WinTest::exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

RECT placeInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}
