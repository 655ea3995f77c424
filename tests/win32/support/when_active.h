// Runs a step of a test from inside a modal loop (a dialog's, a message box's, the program's own) as
// soon as a given window becomes the active one: a WH_CBT hook of this thread sees the activation
// and posts the step to a message-only window, so it runs once the activation, and the focus it
// sets, is complete. A deadline ends the wait when no such window comes: the step is not run, the
// deadline's own step runs instead, so the test fails rather than hangs. One at a time per thread.
#pragma once

#include "win.h"

#include <functional>

class WhenActive {
public:
    using Matches = std::function<bool(HWND)>;
    using Step = std::function<void(HWND)>;

    // `onDeadline` gets the window that was seen active, or nullptr when none matched.
    WhenActive(Matches matches, Step step, DWORD deadlineMs, Step onDeadline);
    ~WhenActive();
    WhenActive(const WhenActive &) = delete;
    WhenActive &operator=(const WhenActive &) = delete;

    // Also after the step ran: the deadline stays armed until the object goes, as a safety net for
    // a step that leaves the loop running.
    bool ran() const { return ran_; }
    bool deadlinePassed() const { return deadlinePassed_; }
    // The matching window last seen becoming active, or nullptr.
    HWND seen() const { return seen_; }

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Matches matches_;
    Step step_, onDeadline_;
    HWND helper_ = nullptr;
    HHOOK hook_ = nullptr;
    HWND seen_ = nullptr;
    bool posted_ = false, ran_ = false, deadlinePassed_ = false;
};

// The top-level window of this thread with the given class and title, or nullptr.
HWND threadWindow(const char *className, const char *title);
