// The user's own PATH where the system keeps one that a program changes for good (the registry on
// Windows): a folder put on it or taken off, for the installer and the uninstaller. A system without
// one gives the console program none, and its --user-path options are refused there.
#pragma once

#include <string>

class UserPathSetting {
public:
    virtual ~UserPathSetting() = default;
    // Puts the folder at the end of the user's PATH, or leaves it where it stands already; raises the
    // program's error when the setting cannot be read or written.
    virtual void add(const std::string &folder) = 0;
    // Takes the folder off the user's PATH wherever it stands; raises as add() does.
    virtual void remove(const std::string &folder) = 0;
};
