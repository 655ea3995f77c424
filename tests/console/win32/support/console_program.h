// Runs the real quillmerec.exe (the copy beside the tests) with its standard streams on pipes, as a
// script or a build would, and gives back what it wrote and its exit code.
#pragma once

#include "win.h"

#include <string>
#include <vector>

struct ProgramResult {
    DWORD exitCode = 0;
    std::string output; // standard output, byte for byte
    std::string errors; // standard error, byte for byte
};

// The folder that holds the tests and the program, with a trailing backslash.
std::string testProgramFolder();

// Quotes an argument for the command line as CommandLineToArgvW reads it back.
std::string quotedArgument(const std::string &argument);

// The arguments (UTF-8) passed through the wide command line; `input` fed to standard input.
ProgramResult runConsoleProgram(const std::vector<std::string> &arguments, const std::string &input = "",
                                const std::string &workingFolder = "");

// A standard stream whose reading end is closed before the program writes, as when the program that
// read the pipe has gone ("quillmerec --check *.txt | more", quit early).
enum class ClosedReader { None, Output, Errors };
ProgramResult runConsoleProgram(const std::vector<std::string> &arguments, ClosedReader closed,
                                const std::string &input = "");

// A whole command line as given (the program's name included), for what only a line shows: quotes as
// cmd or a script wrote them.
ProgramResult runCommandLine(const std::string &line, const std::string &input = "");

// The program's own path, for a command line.
std::string consoleProgramPath();

// Started and left running, for a test that watches it or ends it itself: with no standard streams
// at all, or on the console of the test (TestConsole), as from a command prompt.
class RunningProgram {
public:
    enum class Streams { None, TestConsole };
    explicit RunningProgram(const std::vector<std::string> &arguments, Streams streams = Streams::None);
    RunningProgram(const RunningProgram &) = delete;
    RunningProgram &operator=(const RunningProgram &) = delete;
    ~RunningProgram();

    HANDLE process() const { return process_.hProcess; }
    // Ends the program at once, as a crash or a kill from outside would, and waits for it to go.
    void kill();
    // The exit code, or STILL_ACTIVE when it did not end within the limit.
    DWORD waitForExit(DWORD milliseconds);

private:
    PROCESS_INFORMATION process_{};
};

// A console of the test's own, as a command prompt window gives one: the program started with
// Streams::TestConsole writes on it, and the test reads back what it shows.
class TestConsole {
public:
    TestConsole();
    ~TestConsole();
    TestConsole(const TestConsole &) = delete;
    TestConsole &operator=(const TestConsole &) = delete;

    bool ready() const { return screen_ != INVALID_HANDLE_VALUE; }
    void clear();
    // What the console shows, in UTF-8: each row without its trailing blanks, rows joined by '\n',
    // the empty rows at the end left out.
    std::string shown() const;

private:
    HANDLE screen_ = INVALID_HANDLE_VALUE;
};
