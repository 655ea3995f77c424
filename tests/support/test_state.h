// What every Windows test and scenario starts from: no stored settings, and real files in a fresh
// folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline const char *settingsKeyPath = "Software\\Hollowcrest\\Quillmere";

// Removes a folder and everything in it.
void removeTree(const std::string &folder);

// Deletes the settings key and the given data folder (which ends in a backslash).
void forgetSettingsAndData(std::string dataFolder);

// A fresh, empty folder in the temporary folder, named after the running test; ends in a backslash.
std::string freshTestFolder(const std::string &prefix);

// UTF-8 and UTF-16 for the tests' own wide calls (names outside the ANSI code page).
std::wstring wideOf(const std::string &utf8);
std::string utf8Of(const std::wstring &wide);

// The names of the entries that match a path with wildcards ("folder\\~qm*"), "." and ".." left out.
std::vector<std::string> namesMatching(const std::string &pattern);

// By UTF-8 path, so that any name can be written and read.
void writeBytes(const std::string &path, const std::string &bytes);
std::string readBytes(const std::string &path);

// A test that starts with no stored settings, an empty data folder and a fresh folder of files.
class FreshFolderTest : public ::testing::Test {
protected:
    void startClean(const std::string &dataFolder, const std::string &folderPrefix);
    void TearDown() override;

    // This test's own folder, ending in a backslash.
    const std::string &temp() const { return temp_; }
    std::string writeFile(const std::string &name, const std::string &bytes) const;
    static std::string readFile(const std::string &path) { return readBytes(path); }

private:
    std::string temp_;
};
