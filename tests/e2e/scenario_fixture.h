// The common ground of the scenarios: no stored settings and an empty data folder before each one,
// a fresh folder of real files, and the registry and windows of the program seen from outside.
#pragma once

#include "driver.h"
#include "test_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

class Scenario : public FreshFolderTest {
protected:
    void SetUp() override;

    // The program's per-user data folder, ending in a backslash.
    static std::string dataFolder();

    static void storeSetting(const std::string &name, const std::string &text);
    static std::optional<std::string> storedSetting(const std::string &name);
};

// A message box of the process with this title (its dialog class tells it from the main window).
HWND waitForMessageBox(DWORD processId, const std::string &title, std::chrono::milliseconds limit = 10s);
bool isChecked(HWND option);
// Each child of the window with this class, in creation order.
std::vector<HWND> childrenOfClass(HWND parent, const char *className);
