#include "console_program.h"

#include "test_state.h"

#include <thread>

std::string testProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L'\\') + 1);
    return utf8Of(folder);
}

std::string quotedArgument(const std::string &argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

namespace {

std::wstring commandLine(const std::vector<std::string> &arguments) {
    std::string line = quotedArgument(consoleProgramPath());
    for (const std::string &argument : arguments) line += " " + quotedArgument(argument);
    return wideOf(line);
}

struct Pipe {
    HANDLE read = nullptr, write = nullptr;
    explicit Pipe(bool childReads) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        CreatePipe(&read, &write, &inherit, 0);
        // Only the child's end is inherited.
        SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read) CloseHandle(read);
        read = nullptr;
    }
    void closeWrite() {
        if (write) CloseHandle(write);
        write = nullptr;
    }
};

std::string drain(HANDLE from) {
    std::string bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(from, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
    return bytes;
}

ProgramResult runLine(std::wstring line, const std::string &input, const std::string &workingFolder,
                      ClosedReader closed) {
    Pipe in(true), out(false), err(false);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.read;
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
    if (closed == ClosedReader::Output) out.closeRead();
    if (closed == ClosedReader::Errors) err.closeRead();
    const std::wstring folder = wideOf(workingFolder);
    PROCESS_INFORMATION process{};
    ProgramResult result;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        workingFolder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        result.exitCode = 0xDEAD;
        return result;
    }
    in.closeRead();
    out.closeWrite();
    err.closeWrite();
    std::thread feeder([&] {
        DWORD written = 0;
        for (std::size_t done = 0; done < input.size(); done += written)
            if (!WriteFile(in.write, input.data() + done, static_cast<DWORD>(input.size() - done), &written,
                           nullptr))
                break;
        in.closeWrite();
    });
    std::thread errorReader([&] {
        if (err.read) result.errors = drain(err.read);
    });
    if (out.read) result.output = drain(out.read);
    errorReader.join();
    feeder.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace

std::string consoleProgramPath() { return testProgramFolder() + "quillmerec.exe"; }

ProgramResult runConsoleProgram(const std::vector<std::string> &arguments, const std::string &input,
                                const std::string &workingFolder) {
    return runLine(commandLine(arguments), input, workingFolder, ClosedReader::None);
}

ProgramResult runConsoleProgram(const std::vector<std::string> &arguments, ClosedReader closed,
                                const std::string &input) {
    return runLine(commandLine(arguments), input, "", closed);
}

ProgramResult runCommandLine(const std::string &line, const std::string &input) {
    return runLine(wideOf(line), input, "", ClosedReader::None);
}

RunningProgram::RunningProgram(const std::vector<std::string> &arguments, Streams streams) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = commandLine(arguments);
    const DWORD flags = streams == Streams::None ? CREATE_NO_WINDOW : 0;
    CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                   &process_);
}

RunningProgram::~RunningProgram() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) kill();
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

void RunningProgram::kill() {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
}

DWORD RunningProgram::waitForExit(DWORD milliseconds) {
    WaitForSingleObject(process_.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

TestConsole::TestConsole() {
    FreeConsole();
    if (!AllocConsole()) return;
    screen_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr);
    // Wide enough that the test folder's long names do not wrap.
    SetConsoleScreenBufferSize(screen_, COORD{250, 100});
    clear();
}

TestConsole::~TestConsole() {
    if (screen_ != INVALID_HANDLE_VALUE) CloseHandle(screen_);
    FreeConsole();
}

void TestConsole::clear() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(screen_, &info)) return;
    DWORD written = 0;
    FillConsoleOutputCharacterW(screen_, L' ', static_cast<DWORD>(info.dwSize.X * info.dwSize.Y), COORD{0, 0},
                                &written);
    SetConsoleCursorPosition(screen_, COORD{0, 0});
}

std::string TestConsole::shown() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(screen_, &info)) return "<no console>";
    std::string text;
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    for (SHORT y = 0; y < info.dwSize.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen_, row.data(), static_cast<DWORD>(row.size()), COORD{0, y}, &read);
        std::wstring line = row.substr(0, read);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += utf8Of(line) + "\n";
    }
    text.erase(text.find_last_not_of('\n') + 1);
    return text;
}
