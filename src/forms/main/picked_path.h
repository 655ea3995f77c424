// Small rules the pickers share: how a choice is compared with the other box, and where a file
// dialog opens.
#pragma once

#include <string>

// True when the other box, trimmed, holds exactly the lower-cased choice.
bool sameAsOtherBox(const std::string &lowerCasedChoice, const std::string &otherBoxText);

// The folder of the box's file when the box holds a path whose folder exists, else the per-user
// data folder (which this creates when missing). Fails with 9 for an empty box.
std::string fileDialogStartFolder(const std::string &boxText);
