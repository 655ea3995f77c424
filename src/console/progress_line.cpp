#include "progress_line.h"

#include "output_stream.h"

#include <chrono>
#include <cstdio>

namespace {

// Once shown, the line is drawn again at most this often (milliseconds): a console that is redrawn
// for every block slows the run it reports.
constexpr std::uint64_t drawEvery = 250;

} // namespace

std::uint64_t steadyMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::string byteSizeText(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " B";
    const char *const units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.2f %s" : "%.1f %s", value, units[unit]);
    return text;
}

ProgressLine::ProgressLine(OutputStream *stream, Clock clock, std::uint64_t delay)
    : stream_(stream), clock_(std::move(clock)), delay_(delay), runStart_(clock_()) {}

void ProgressLine::startStep(const std::string &what, std::size_t files) {
    step_ = what;
    files_ = files;
    filesDone_ = 0;
    bytes_ = 0;
    stepStart_ = clock_();
    maybeDraw();
}

void ProgressLine::fileDone() {
    ++filesDone_;
    maybeDraw();
}

void ProgressLine::bytesDone(std::uint64_t bytes) {
    bytes_ += bytes;
    maybeDraw();
}

std::string ProgressLine::text() const {
    std::string line = step_ + ": " + std::to_string(filesDone_) + " of " + std::to_string(files_) +
                       (files_ == 1 ? " file, " : " files, ") + byteSizeText(bytes_);
    const std::uint64_t elapsed = clock_() - stepStart_;
    if (elapsed > 0) line += ", " + byteSizeText(bytes_ * 1000 / elapsed) + "/s";
    return line;
}

void ProgressLine::maybeDraw() {
    if (!stream_) return;
    const std::uint64_t now = clock_();
    if (now - runStart_ < delay_ || (shownWidth_ && now - lastDrawn_ < drawEvery)) return;
    lastDrawn_ = now;
    std::string line = text();
    // The last column is left free: a terminal that is written to its last column may wrap there.
    const std::size_t columns = stream_->columns();
    if (columns > 1 && line.size() > columns - 1) line.resize(columns - 1);
    const std::size_t width = line.size();
    // A shorter line than the last one blanks what would stay of it.
    if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
    line.insert(line.begin(), '\r');
    stream_->writeText(line);
    shownWidth_ = width;
}

void ProgressLine::wipe() {
    if (!stream_ || !shownWidth_) return;
    std::string blank(shownWidth_ + 2, ' ');
    blank.front() = blank.back() = '\r';
    stream_->writeText(blank);
    shownWidth_ = 0;
}
