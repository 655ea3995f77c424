// quillmerec.exe: the console program put together with the Windows layer. Its arguments are read
// from the wide command line, so that names in any script arrive whole whatever the console's code
// page.
#include "console/console_control.h"
#include "console/console_stream.h"
#include "console/handle_input.h"
#include "console/registry_user_path.h"
#include "console/windows_input_names.h"
#include "console_run.h"
#include "own_files.h"
#include "wide_text.h"
#include "windows_file_system.h"

#include <shellapi.h>

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

std::string environmentText(const wchar_t *name) {
    wchar_t text[32] = {};
    const DWORD length = GetEnvironmentVariableW(name, text, 32);
    return length == 0 || length >= 32 ? "" : toUtf8(text);
}

} // namespace

int main() {
    HandleInput input(GetStdHandle(STD_INPUT_HANDLE));
    TemporarySpillFiles spillFiles(temporaryFolder());
    ConsoleStream output(GetStdHandle(STD_OUTPUT_HANDLE));
    ConsoleStream errors(GetStdHandle(STD_ERROR_HANDLE));
    WindowsInputNames names;
    SystemFileMoves moves;
    WindowsFileSystem files(moves);
    RegistryUserPath userPath;
    ConsoleIo io{.input = input,
                 .spillFiles = spillFiles,
                 .output = output,
                 .errors = errors,
                 .names = names,
                 .files = files,
                 .userPath = &userPath,
                 .progressDelay = progressDelayFrom(environmentText(L"QM_PROGRESS_AFTER_MS").c_str()),
                 .stopRequested = consoleControl::stopRequested};
    consoleControl::install();
    const int code = runConsoleProgram(argumentsAfterProgramName(), io);
    consoleControl::runEnded();
    return code;
}
