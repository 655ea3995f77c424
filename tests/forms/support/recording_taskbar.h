// A taskbar button that records what the main window asks of it, in order, so a test sees the
// progress a run shows there whether or not the system has a taskbar.
#pragma once

#include "window/taskbar_progress.h"

#include <string>
#include <vector>

class RecordingTaskbar final : public TaskbarProgress {
public:
    // "progress done/total", "error", "clear".
    std::vector<std::string> calls;
    HWND attached = nullptr;

    void attach(HWND window) override { attached = window; }
    void windowMessage(UINT) override {}
    void setProgress(std::uint64_t done, std::uint64_t total) override {
        calls.push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
    }
    void setError() override { calls.push_back("error"); }
    void clear() override { calls.push_back("clear"); }
};
