// quillmerec.exe: the console program. Its arguments are read from the wide command line, so that
// names in any script arrive whole whatever the console's code page.
#include "app_error.h"
#include "console_run.h"
#include "console_stream.h"
#include "wide_text.h"
#include "windows_file_system.h"

#include <shellapi.h>

#include <atomic>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

namespace {

std::vector<std::string> argumentsAfterProgramName() {
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) arguments.push_back(toUtf8(wide[i]));
    if (wide) LocalFree(wide);
    return arguments;
}

// QM_PROGRESS_AFTER_MS sets how long a run goes on before its progress line appears (tests that watch
// the line on a machine of any speed).
std::uint64_t progressDelay() {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"QM_PROGRESS_AFTER_MS", text, 16);
    if (length == 0 || length >= 16) return ProgressLine::usualDelay;
    return std::wcstoull(text, nullptr, 10);
}

// Set by the console's control handler, read by the run between files. The handler runs on a thread
// the system makes for it, so the two meet only through these.
std::atomic<bool> stopAsked{false};
HANDLE runEnded = nullptr; // an event, set when the run has put its last file in place or left it

// Ctrl+C and Ctrl+Break: the run stops after the file in hand, and the process ends with 130 instead of
// being ended at once with 0xC000013A halfway through a replace. Closing the console ends the process
// when the handler returns (the logoff and shutdown signals reach services only): the handler waits
// for the run to finish its file first, within the few seconds the system gives it.
BOOL WINAPI onConsoleControl(DWORD event) {
    stopAsked = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(runEnded, 4000);
    return TRUE;
}

int runAndCatch(ConsoleIo &io, ConsoleStream &errors) {
    try {
        return runConsole(argumentsAfterProgramName(), io);
    } catch (const AppError &error) {
        errors.writeText("quillmerec: " + error.description + "\r\n");
        return exitCode::failedOrFound;
    } catch (const std::bad_alloc &) {
        errors.writeText("quillmerec: " + standardDescription(err::OutOfMemory) + "\r\n");
        return exitCode::failedOrFound;
    }
}

} // namespace

int main() {
    ConsoleStream output(GetStdHandle(STD_OUTPUT_HANDLE));
    ConsoleStream errors(GetStdHandle(STD_ERROR_HANDLE));
    SystemFileMoves moves;
    WindowsFileSystem files(moves);
    ConsoleIo io{GetStdHandle(STD_INPUT_HANDLE),  output, errors,
                 [] { return GetTickCount64(); }, files,  progressDelay(),
                 [] { return stopAsked.load(); }};
    runEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    const int code = runAndCatch(io, errors);
    if (runEnded) SetEvent(runEnded);
    return code;
}
