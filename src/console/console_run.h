// One run of the console program: its arguments in, its output on the streams, its exit code out.
// Everything it needs of a platform comes in here, wired by the program's main on each system.
#pragma once

#include "file_system.h"
#include "input_names.h"
#include "output_stream.h"
#include "progress_line.h"
#include "standard_input.h"
#include "user_path_setting.h"

#include <functional>
#include <string>
#include <vector>

struct ConsoleIo {
    StandardInput &input;   // read as bytes
    SpillFiles &spillFiles; // for standard input past what is held in memory
    OutputStream &output;   // converted text, or the list of --check
    OutputStream &errors;   // messages and the progress line
    InputNames &names;      // how the arguments name files, and the folders' entries
    FileSystem &files;      // how sources are read and destinations put in place
    // The user's PATH, where the system keeps one the program changes (null: --user-path-add and
    // --user-path-remove are refused as usage errors).
    UserPathSetting *userPath = nullptr;
    ProgressLine::Clock clock = steadyMilliseconds;
    std::uint64_t progressDelay = ProgressLine::usualDelay;
    // Ctrl+C, Ctrl+Break or the console closing on Windows; SIGINT or SIGTERM on POSIX: asked between
    // files (empty: never).
    std::function<bool()> stopRequested = {};
};

namespace exitCode {
inline constexpr int done = 0;
inline constexpr int failedOrFound = 1;
inline constexpr int usage = 2;
// Stopped by an interrupt, as console tools on other systems exit after SIGINT.
inline constexpr int stopped = 130;
} // namespace exitCode

int runConsole(const std::vector<std::string> &arguments, ConsoleIo &io);

// The same for a program's main: an error that ends the whole run (no memory left) is named on
// standard error and exits with 1.
int runConsoleProgram(const std::vector<std::string> &arguments, ConsoleIo &io);

// How long a run goes on before its progress line appears, in milliseconds, from the text of the
// environment's QM_PROGRESS_AFTER_MS (tests that watch the line on a machine of any speed): the usual
// delay when there is none, or when it is too long to be a number of milliseconds.
std::uint64_t progressDelayFrom(const char *text);
