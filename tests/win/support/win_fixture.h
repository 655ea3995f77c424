// The common ground of the Windows tests: a clean settings key and data folder, a fresh temporary
// folder of real files, and the scripted desktop.
#pragma once

#include "scripted_desktop.h"
#include "test_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class FrmMain;

class WinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh folder for this test, ending in a backslash.
    const std::string &temp() const { return temp_; }
    std::string writeFile(const std::string &name, const std::string &bytes) const;
    static std::string readFile(const std::string &path);
    static bool exists(const std::string &path);
    static std::string dataFolder();

    // The main window, loaded (hidden) on first use and destroyed after the test.
    FrmMain &main();

    ScriptedDesktop desk;

private:
    std::string temp_;
    std::unique_ptr<FrmMain> main_;
};

