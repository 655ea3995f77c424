// The progress line of a long run on a terminal: files, bytes and speed, drawn again in place on
// standard error. It appears only once a run has gone on for about a second, at most a few times a
// second, and is wiped before any other text is written and at the end. It is cut to the terminal's
// width, so that it never wraps onto a second line that its carriage return could not reach.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class OutputStream;

class ProgressLine {
public:
    using Clock = std::function<std::uint64_t()>; // milliseconds from any fixed moment

    // How long a run goes on before its line first appears, unless told otherwise.
    static constexpr std::uint64_t usualDelay = 1000;

    // Draws nothing when `stream` is null (standard error is no terminal, or -q was given).
    ProgressLine(OutputStream *stream, Clock clock, std::uint64_t delay = usualDelay);

    // What the run does now ("Verifying", "Converting"), and how many files that step has.
    void startStep(const std::string &what, std::size_t files);
    void fileDone();
    void bytesDone(std::uint64_t bytes);
    // Takes the line off the screen (before a message, and at the end).
    void wipe();

    // The line as it would be drawn now.
    std::string text() const;

private:
    void maybeDraw();

    OutputStream *stream_;
    Clock clock_;
    std::uint64_t delay_;
    std::uint64_t runStart_;
    std::uint64_t stepStart_ = 0;
    std::uint64_t lastDrawn_ = 0;
    std::string step_;
    std::size_t files_ = 0;
    std::size_t filesDone_ = 0;
    std::uint64_t bytes_ = 0;
    std::size_t shownWidth_ = 0;
};

// Milliseconds of a steady clock, which no change of the system's time moves.
std::uint64_t steadyMilliseconds();

// A number of bytes as people read it: "512 B", "1.5 KB", "12.0 MB", "3.25 GB" (1 KB = 1024 bytes).
std::string byteSizeText(std::uint64_t bytes);
