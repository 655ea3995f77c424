// The common ground of the window tests: what every Windows test starts from, and the main window,
// loaded (hidden) on first use and destroyed after the test.
#pragma once

#include "recording_taskbar.h"
#include "scripted_accessibility.h"
#include "win_fixture.h"
#include "window_probe.h"

#include "win.h"

#include <memory>
#include <string>

class FormTest : public WinTest {
protected:
    void TearDown() override;

    FrmMain &main();

    RecordingTaskbar taskbar;
    ScriptedAccessibility accessibility;

private:
    std::unique_ptr<FrmMain> main_;
};

// Handles what is queued as the program's own message loop does: the window sees keys first.
void pumpAsTheProgramDoes(FrmMain &frm);

// A key pressed on the control and handled as the program's message loop handles it.
void pressKey(FrmMain &frm, HWND control, WPARAM key);

// The folder panel set to convert the "txt" files of `source` into `destination` with the given
// number of spaces, and its work list made.
void listTxtFiles(FrmMain &frm, const std::string &source, const std::string &destination,
                  const std::string &spaces);
