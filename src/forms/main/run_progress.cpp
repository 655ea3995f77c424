#include "main/run_progress.h"

#include "wide_text.h"

#include <algorithm>

namespace {

std::uint64_t lengthOf(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA found;
    if (!GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &found)) return 0;
    return (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

} // namespace

void RunProgress::files(int32_t done, int32_t total) {
    if (total <= 0 || done < 0) return;
    taskbar_.setProgress(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(total));
    shown_ = true;
}

void RunProgress::startBytes(const std::string &source) {
    const std::uint64_t length = lengthOf(source);
    totalBytes_ = length >= largeFileBytes ? 2 * length : 0;
    doneBytes_ = 0;
    shownThousandths_ = 0;
}

// The button changes in steps of a thousandth: the 1 MiB blocks of a source over 500 MiB (read twice)
// are each less.
void RunProgress::addBytes(std::size_t bytes) {
    if (totalBytes_ == 0) return;
    doneBytes_ = std::min(doneBytes_ + bytes, totalBytes_);
    const std::uint64_t thousandths = doneBytes_ * 1000 / totalBytes_;
    if (thousandths == shownThousandths_ && shown_) return;
    shownThousandths_ = thousandths;
    taskbar_.setProgress(doneBytes_, totalBytes_);
    shown_ = true;
}

void RunProgress::failedFilesShown() {
    taskbar_.setError();
    shown_ = true;
}

void RunProgress::end() {
    totalBytes_ = 0;
    if (!shown_) return;
    shown_ = false;
    taskbar_.clear();
}
