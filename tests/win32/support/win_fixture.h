// The common ground of the Windows tests: a clean settings key and data folder, a fresh temporary
// folder of real files, and the scripted desktop.
#pragma once

#include "scripted_desktop.h"
#include "test_state.h"

#include <gtest/gtest.h>

#include <string>

class WinTest : public FreshFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static bool exists(const std::string &path);
    static std::string dataFolder();

    ScriptedDesktop desk;
};

// A control's rectangle in its parent window's client coordinates.
RECT placeInParent(HWND control);
