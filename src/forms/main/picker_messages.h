// What the four Browse buttons say when they refuse a choice. The runs of spaces at the ends of
// the second lines are part of the texts.
#pragma once

#include "desktop/desktop.h"

#include <string>

namespace pickerText {
inline const std::string sameFileForSource = "The source and destination file cannot be the same.\r\n"
                                             "Change source or destination file, please..." +
                                             std::string(22, ' ');
inline const std::string sameFileForDestination = "The source and destination file cannot be the same.\r\n"
                                                  "Please save under another file name..." +
                                                  std::string(28, ' ');
inline const std::string folderNotAvailable =
    "The location you picked is not available...\r\nPick another folder, please!" + std::string(7, ' ');
inline const std::string folderNotAccessible =
    "The location you picked is not accessible...\r\nPick another folder, please!" + std::string(7, ' ');
inline const std::string sameFolder =
    "The source and destination locations cannot be the same.\r\nPlease pick another folder...";
} // namespace pickerText

inline void refuseChoice(HWND owner, const std::string &text) {
    showMessage(owner, text, "Attention!", MB_OK | MB_ICONEXCLAMATION);
}
