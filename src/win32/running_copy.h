// Tells whether another copy of the program is already running (a named mutex held for life).
#pragma once

#include "win.h"

class RunningCopyGuard {
public:
    RunningCopyGuard();
    RunningCopyGuard(const RunningCopyGuard &) = delete;
    RunningCopyGuard &operator=(const RunningCopyGuard &) = delete;
    ~RunningCopyGuard();

    bool anotherCopyRunning() const { return anotherCopy_; }

private:
    HANDLE mutex_ = nullptr;
    bool anotherCopy_ = false;
};
