// quillmerec on POSIX: the console program put together with the POSIX layer. Its arguments are names
// as the shell gives them, bytes in any encoding.
#include "console/descriptor_input.h"
#include "console/descriptor_stream.h"
#include "console/posix_input_names.h"
#include "console/stop_signals.h"
#include "console_run.h"
#include "posix_calls.h"
#include "posix_file_system.h"

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char **argv) {
    keepStandardDescriptorsOpen();
    stopSignals::install();
    DescriptorInput input(STDIN_FILENO, stopSignals::wakeDescriptor());
    UnlinkedSpillFiles spillFiles(UnlinkedSpillFiles::usualFolder());
    DescriptorStream output(STDOUT_FILENO);
    DescriptorStream errors(STDERR_FILENO);
    PosixInputNames names;
    SystemPosixCalls calls;
    PosixFileSystem files(calls);
    ConsoleIo io{.input = input,
                 .spillFiles = spillFiles,
                 .output = output,
                 .errors = errors,
                 .names = names,
                 .files = files,
                 .progressDelay = progressDelayFrom(std::getenv("QM_PROGRESS_AFTER_MS")),
                 .stopRequested = stopSignals::stopRequested};
    return runConsoleProgram(std::vector<std::string>(argv + 1, argv + argc), io);
}
