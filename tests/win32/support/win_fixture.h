// The common ground of the Windows tests: a clean settings key and data folder, a fresh temporary
// folder of real files, the scripted desktop, and a registry whose format errors are kept.
#pragma once

#include "registry.h"
#include "scripted_desktop.h"
#include "test_state.h"
#include "windows_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Keeps every key path the registry reports as malformed.
class RecordedFormatErrors final : public Registry::IncorrectFormatReport {
public:
    std::vector<std::string> keyPaths;
    void incorrectFormat(const std::string &keyPath) override { keyPaths.push_back(keyPath); }
};

class WinTest : public FreshFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static bool exists(const std::string &path);
    static std::string dataFolder();

    ScriptedDesktop desk;
    RecordedFormatErrors formatErrors;
    Registry registry{formatErrors};
    // The file calls that put destinations in place: Windows' own.
    SystemFileMoves systemMoves;
    // The jobs' file system over them.
    WindowsFileSystem systemFiles{systemMoves};
};

// A control's rectangle in its parent window's client coordinates.
RECT placeInParent(HWND control);
