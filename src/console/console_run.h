// One run of the console program: its arguments in, its output on the streams, its exit code out.
#pragma once

#include "file_system.h"
#include "progress_line.h"
#include "win.h"

#include <functional>
#include <string>
#include <vector>

class ConsoleStream;

struct ConsoleIo {
    HANDLE input;          // standard input, read as bytes
    ConsoleStream &output; // converted text, or the list of --check
    ConsoleStream &errors; // messages and the progress line
    ProgressLine::Clock clock;
    FileSystem &files; // how sources are read and destinations put in place
    std::uint64_t progressDelay = ProgressLine::usualDelay;
    // Ctrl+C, Ctrl+Break or the console closing: asked between files (empty: never).
    std::function<bool()> stopRequested = {};
};

namespace exitCode {
inline constexpr int done = 0;
inline constexpr int failedOrFound = 1;
inline constexpr int usage = 2;
// Stopped by Ctrl+C or Ctrl+Break, as console tools on other systems exit after an interrupt.
inline constexpr int stopped = 130;
} // namespace exitCode

int runConsole(const std::vector<std::string> &arguments, ConsoleIo &io);
