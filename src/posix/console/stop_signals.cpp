#include "console/stop_signals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler is handed no object: the handler and the run meet only through these. The flag is
// lock-free, and write(2) is safe in a handler.
std::atomic<bool> stopAsked{false};
int wakeRead = -1;
int wakeWrite = -1;

void onStopSignal(int) {
    const int savedErrno = errno;
    stopAsked.store(true);
    if (wakeWrite >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(wakeWrite, &byte, 1); // a full pipe is awake already
    }
    errno = savedErrno;
}

bool makeWakePipe() {
    int ends[2];
    if (pipe(ends) != 0) return false;
    for (int end : ends) {
        fcntl(end, F_SETFD, FD_CLOEXEC);
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    wakeRead = ends[0];
    wakeWrite = ends[1];
    return true;
}

} // namespace

namespace stopSignals {

bool install() {
    static_assert(std::atomic<bool>::is_always_lock_free);
    bool installed = makeWakePipe();
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = 0; // no SA_RESTART: a blocked call returns EINTR, and its caller looks at the flag
    for (int signal : {SIGINT, SIGTERM}) {
        // A signal ignored from the start (a background job of a shell without job control) stays so.
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        installed = sigaction(signal, &stop, nullptr) == 0 && installed;
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    installed = sigaction(SIGPIPE, &ignore, nullptr) == 0 && installed;
    return installed;
}

bool stopRequested() { return stopAsked.load(); }

int wakeDescriptor() { return wakeRead; }

} // namespace stopSignals
