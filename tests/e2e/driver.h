// Drives the real quillmere.exe from another process, as a person at the screen would:
// start it, find its windows, press their buttons and read their texts.
#pragma once

#include "win.h"

#include <chrono>
#include <string>

using namespace std::chrono_literals;

// The folder that holds quillmere.exe and its readme for these tests, with a trailing backslash.
std::string programUnderTestFolder();

class QuillmereProcess {
public:
    QuillmereProcess() : QuillmereProcess(programUnderTestFolder()) {}
    // Starts the copy of quillmere.exe in this folder (ending in a backslash).
    explicit QuillmereProcess(const std::string &folder);
    QuillmereProcess(const QuillmereProcess &) = delete;
    QuillmereProcess &operator=(const QuillmereProcess &) = delete;
    ~QuillmereProcess(); // ends the process if it still runs

    bool waitForExit(std::chrono::milliseconds limit);
    bool running() const;
    DWORD id() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
};

// A top-level window of the given process with this exact title (and class, when given); nullptr
// when none came in time.
HWND waitForWindow(DWORD processId, const std::string &title, std::chrono::milliseconds limit = 10s,
                   const char *className = nullptr);
// A child control of a window with this exact text (class filter optional).
HWND findChild(HWND parent, const std::string &text, const char *className = nullptr);

std::string textOf(HWND window);
// The text of a message box (its static text control).
std::string messageBoxText(HWND box);
// Presses a button without waiting for what it opens.
void press(HWND button);
// Presses the OK button of a message box or dialog and waits for it to go.
bool pressOk(HWND box, std::chrono::milliseconds limit = 10s);
bool waitForGone(HWND window, std::chrono::milliseconds limit = 10s);
// A visible top-level window of any process whose title contains this text.
HWND waitForWindowTitled(const std::string &part, std::chrono::milliseconds limit = 10s);
// Posts a key press to a control, as the keyboard would deliver it.
void pressKey(HWND control, WPARAM key);
