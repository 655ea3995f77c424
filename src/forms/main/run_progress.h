// What a run shows on the main window's taskbar button: a folder run the value of its progress bar, a
// single-file run on a large file the bytes it has read (the verification's and the conversion's),
// red while the failed-files window is up, and nothing once the run has ended.
#pragma once

#include "window/taskbar_progress.h"

#include <cstddef>
#include <cstdint>
#include <string>

// From this size on, a single file takes long enough for its progress to be worth showing.
inline constexpr std::uint64_t largeFileBytes = 8u << 20;

class RunProgress {
public:
    explicit RunProgress(TaskbarProgress &taskbar) : taskbar_(taskbar) {}

    TaskbarProgress &taskbar() { return taskbar_; }

    // After each file of a folder pass, as the progress bar shows it.
    void files(int32_t done, int32_t total);
    // A single-file run reads its source twice, to verify it and to convert it; a small one shows
    // nothing. A source whose length cannot be read counts as small.
    void startBytes(const std::string &source);
    void addBytes(std::size_t bytes);
    void failedFilesShown();
    void end();

private:
    TaskbarProgress &taskbar_;
    std::uint64_t totalBytes_ = 0, doneBytes_ = 0;
    std::uint64_t shownThousandths_ = 0;
    bool shown_ = false;
};
