// Runs the native quillmerec as a shell or a script would: its standard streams on pipes (standard
// error on a pseudo-terminal when asked), fed and read until it ends, within a deadline.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

struct NativeResult {
    int exitCode = -1;  // the program's exit code; -1 when it did not end within the deadline
    int signal = 0;     // the signal that ended it, if one did
    std::string output; // standard output, byte for byte
    std::string errors; // standard error, byte for byte (from the terminal, when it was one)
};

struct NativeRun {
    std::vector<std::string> arguments;
    std::string input;     // fed to standard input, which is then closed unless inputLeftOpen
    std::string inputFile; // where given, standard input is redirected from this file instead
    bool inputLeftOpen = false;
    // Called once the program has taken the input into its pipe: with more input than a pipe holds
    // (64 KiB), the program has begun to read it.
    std::function<void(pid_t)> onceInputTaken = {};
    std::vector<std::string> environment = {}; // NAME=value added to the test's own
    bool errorsOnTerminal = false;             // standard error on a pseudo-terminal
    bool outputReaderGone = false;             // standard output a pipe that no one reads
    // Called once the program has started (with its process id), while its streams are read.
    std::function<void(pid_t)> whileRunning = {};
    int deadlineMs = 60000;
};

NativeResult runNative(const NativeRun &run);

// The program's path.
std::string nativeProgram();

// The events of a folder's entries (inotify), from the moment it is made: a test waits for what the
// program does to its files.
class FolderWatch {
public:
    // The events wanted: IN_MOVED_TO (a file put in place under its name), IN_MODIFY ...
    FolderWatch(const std::string &folder, std::uint32_t events);
    ~FolderWatch();
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    // Waits for an event on an entry that the test wants, until the deadline; false when none came.
    bool waitFor(const std::function<bool(std::uint32_t event, std::string_view name)> &wanted,
                 int deadlineMs);
    // Waits until the entry of that name is put in place (moved to its name).
    bool waitForMovedTo(const std::string &name, int deadlineMs);

private:
    int watch_;
};
