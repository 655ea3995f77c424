// The tests' view inside the windows: each window's controls, and the main window's run state and
// dialogs. The program keeps these to the windows themselves; the windows name WindowProbe their
// friend, so the tests can set a box or read a label as a person would see it.
#pragma once

#include "about/frm_about.h"
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "main/frm_main.h"

class WindowProbe {
public:
    template <class Window> static auto &controls(Window &window) { return window.controls_; }
    static auto &shared(FailureWindow &window) { return window.shared_; }
    static RunState &run(FrmMain &window) { return window.run_; }
    static CommonDialog &fileDialog(FrmMain &window) { return window.fileDialog_; }
    static BrowseDialog *folderDialog(FrmMain &window) { return window.folderDialog_.get(); }
};

template <class Window> auto &controls(Window &window) { return WindowProbe::controls(window); }
inline auto &shared(FailureWindow &window) { return WindowProbe::shared(window); }
inline RunState &runState(FrmMain &window) { return WindowProbe::run(window); }
