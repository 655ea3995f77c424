// What every Windows test and scenario starts from: no stored settings, and real files in a fresh
// folder of its own.
#pragma once

#include <string>

inline const char *settingsKeyPath = "Software\\Hollowcrest\\Quillmere";

// Removes a folder and everything in it.
void removeTree(const std::string &folder);

// Deletes the settings key and the given data folder (which ends in a backslash).
void forgetSettingsAndData(std::string dataFolder);

// A fresh, empty folder in the temporary folder, named after the running test; ends in a backslash.
std::string freshTestFolder(const std::string &prefix);

void writeBytes(const std::string &path, const std::string &bytes);
std::string readBytes(const std::string &path);
