// SIGINT and SIGTERM ask the run to stop and wake a wait on the stop descriptor; a signal the program
// was started with ignored stays ignored (SIGPIPE ignored is seen with the real program). Each case runs in a
// child process of its own, so that the test program keeps its own handlers.
#include "console/stop_signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The exit code of a child that runs the check: 0 when all held, else the number of the first
// check that failed.
template <class Check> int inChild(Check check) {
    const pid_t child = fork();
    if (child == 0) _exit(check());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

bool wakeReadable() {
    pollfd wake{stopSignals::wakeDescriptor(), POLLIN, 0};
    return poll(&wake, 1, 0) == 1 && (wake.revents & POLLIN);
}

TEST(StopSignals, InterruptAndTerminateAskForAStopAndWakeTheWait) {
    for (int signal : {SIGINT, SIGTERM}) {
        EXPECT_EQ(inChild([signal] {
                      if (stopSignals::wakeDescriptor() != -1) return 1;
                      if (!stopSignals::install()) return 2;
                      if (stopSignals::stopRequested() || wakeReadable()) return 3;
                      raise(signal);
                      if (!stopSignals::stopRequested()) return 4;
                      if (!wakeReadable()) return 5;
                      raise(signal); // a second one is heard the same way
                      return wakeReadable() ? 0 : 6;
                  }),
                  0)
            << "signal " << signal;
    }
}

TEST(StopSignals, AnInterruptIgnoredFromTheStartStaysIgnored) {
    EXPECT_EQ(inChild([] {
                  signal(SIGINT, SIG_IGN);
                  stopSignals::install();
                  raise(SIGINT);
                  if (stopSignals::stopRequested()) return 1;
                  raise(SIGTERM); // not ignored: heard
                  return stopSignals::stopRequested() ? 0 : 2;
              }),
              0);
}

} // namespace
