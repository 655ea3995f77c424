#include "native_program.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

std::string nativeProgram() { return QM_NATIVE_PROGRAM; }

namespace {

// In the child: the standard streams in place, the signals as a shell leaves them for a program it
// starts (whatever the test's own process has), then the program.
[[noreturn]] void startProgram(const NativeRun &run, int input, int output, int errors) {
    dup2(run.inputFile.empty() ? input : open(run.inputFile.c_str(), O_RDONLY), 0);
    dup2(output, 1);
    dup2(errors, 2);
    for (int descriptor = 3; descriptor < 1024; ++descriptor) close(descriptor);
    for (int signal : {SIGINT, SIGTERM, SIGPIPE}) std::signal(signal, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    std::vector<std::string> texts = run.environment;
    for (char **variable = environ; *variable; ++variable) texts.emplace_back(*variable);
    std::vector<char *> environment, arguments;
    for (std::string &text : texts) environment.push_back(text.data());
    environment.push_back(nullptr);
    std::string program = nativeProgram();
    arguments.push_back(program.data());
    std::vector<std::string> given = run.arguments;
    for (std::string &argument : given) arguments.push_back(argument.data());
    arguments.push_back(nullptr);
    execve(program.c_str(), arguments.data(), environment.data());
    _exit(127);
}

// Reads both streams to their ends (a terminal ends with EIO once the program has closed it).
void readUntilClosed(int output, int errors, NativeResult &result,
                     std::chrono::steady_clock::time_point deadline) {
    pollfd streams[2] = {{output, POLLIN, 0}, {errors, POLLIN, 0}};
    std::string *into[2] = {&result.output, &result.errors};
    char block[65536];
    while (streams[0].fd >= 0 || streams[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        const int ready = poll(streams, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return;
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || !streams[i].revents) continue;
            const ssize_t got = read(streams[i].fd, block, sizeof block);
            if (got > 0) {
                into[i]->append(block, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                close(streams[i].fd);
                streams[i].fd = -1;
            }
        }
    }
}

} // namespace

NativeResult runNative(const NativeRun &run) {
    int input[2], output[2], errors[2];
    pipe(input);
    pipe(output);
    if (run.errorsOnTerminal) {
        winsize size{};
        size.ws_col = 200;
        size.ws_row = 24;
        openpty(&errors[0], &errors[1], nullptr, nullptr, &size);
    } else {
        pipe(errors);
    }
    if (run.outputReaderGone) close(output[0]);
    const pid_t child = fork();
    if (child == 0) startProgram(run, input[0], output[1], errors[1]);
    close(input[0]);
    close(output[1]);
    close(errors[1]);
    std::thread feeder([&] {
        // A program that ends before it has read its input leaves a pipe without reader: the write
        // fails with EPIPE, and SIGPIPE, blocked in this thread, ends nothing.
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        for (std::size_t done = 0; done < run.input.size();) {
            const ssize_t wrote = write(input[1], run.input.data() + done, run.input.size() - done);
            if (wrote <= 0) break;
            done += static_cast<std::size_t>(wrote);
        }
        if (run.onceInputTaken) run.onceInputTaken(child);
        if (!run.inputLeftOpen) close(input[1]);
    });
    if (run.whileRunning) run.whileRunning(child);
    NativeResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(run.deadlineMs);
    readUntilClosed(run.outputReaderGone ? -1 : output[0], errors[0], result, deadline);
    int status = 0;
    pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == 0 && std::chrono::steady_clock::now() >= deadline) {
        kill(child, SIGKILL); // past the deadline: the test fails on the exit code, -1
        waitpid(child, &status, 0);
        feeder.join();
        if (run.inputLeftOpen) close(input[1]);
        return result;
    }
    if (ended == 0) ended = waitpid(child, &status, 0); // its streams are closed: it is ending
    feeder.join();
    if (run.inputLeftOpen) close(input[1]);
    if (ended == child && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (ended == child && WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

FolderWatch::FolderWatch(const std::string &folder, std::uint32_t events)
    : watch_(inotify_init1(IN_CLOEXEC)) {
    inotify_add_watch(watch_, folder.c_str(), events);
}

FolderWatch::~FolderWatch() { close(watch_); }

bool FolderWatch::waitFor(const std::function<bool(std::uint32_t, std::string_view)> &wanted,
                          int deadlineMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    alignas(inotify_event) char events[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{watch_, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) != 1) return false;
        const ssize_t got = read(watch_, events, sizeof events);
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + at);
            if (event->len && wanted(event->mask, event->name)) return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

bool FolderWatch::waitForMovedTo(const std::string &name, int deadlineMs) {
    return waitFor(
        [&](std::uint32_t event, std::string_view entry) { return (event & IN_MOVED_TO) && entry == name; },
        deadlineMs);
}
