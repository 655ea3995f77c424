// Tells whether another copy of the program is already running (a named mutex held for life).
#pragma once

#include "handles.h"
#include "win.h"

// Whether a copy runs already, from what creating the mutex gave: it existed, or it exists but this
// copy may not open it (the first copy runs elevated).
bool anotherCopyFrom(bool created, DWORD lastError);

class RunningCopyGuard {
public:
    explicit RunningCopyGuard(const char *mutexName = "Local\\Quillmere.RunningCopy");
    RunningCopyGuard(const RunningCopyGuard &) = delete;
    RunningCopyGuard &operator=(const RunningCopyGuard &) = delete;

    bool anotherCopyRunning() const { return anotherCopy_; }

private:
    KernelHandle mutex_;
    bool anotherCopy_ = false;
};
