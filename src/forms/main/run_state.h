// What a run of the main window keeps between its procedures, as typed values: nothing here is read
// back from a control. The window's hidden labels show the file count and the clipboard check, as
// designed, but nothing reads them.
#pragma once

#include "text_encoding.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class RunUnderWay;

struct RunState {
    // The number of files in the work list: it sizes the progress bar of a folder run.
    int32_t filesInList = 0;
    // The clipboard check found no text: the clipboard run ends there.
    bool noTextOnClipboard = false;
    // The encoding of each input that the last verification pass read, by its trimmed path.
    std::unordered_map<std::string, TextEncoding> verifiedEncodings;
    // A run works. A folder run yields to the message loop between files, a single-file run between
    // blocks: a second press of the run button is ignored meanwhile.
    bool running = false;
    // The window was asked to close during the run: the run stops, then the window closes.
    bool closeRequested = false;
    // The folder run's files while it converts them, so a session that ends can have them put in place.
    RunUnderWay *underWay = nullptr;
};
