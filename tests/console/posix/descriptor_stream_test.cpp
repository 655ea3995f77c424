// Standard output and standard error over descriptors: every byte delivered across short writes,
// signals and a full non-blocking pipe; a reader that has gone told from a full disk; the terminal
// and its width.
#include "console/descriptor_stream.h"

#include "app_error.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

// Each write(2) as a script says: a few bytes only, a signal before any byte (EINTR), or an error.
class ScriptedStream : public DescriptorStream {
public:
    struct Step {
        ssize_t result; // bytes taken (at most those given), or -1
        int error = 0;
    };
    explicit ScriptedStream(std::vector<Step> steps)
        : DescriptorStream(-1, false), steps_(std::move(steps)) {}
    std::string taken;
    std::size_t calls = 0;

protected:
    ssize_t writePiece(const char *data, std::size_t size) override {
        const Step step = calls < steps_.size() ? steps_[calls] : Step{static_cast<ssize_t>(size)};
        ++calls;
        if (step.result < 0) {
            errno = step.error;
            return -1;
        }
        const auto count = std::min(static_cast<std::size_t>(step.result), size);
        taken.append(data, count);
        return static_cast<ssize_t>(count);
    }

private:
    std::vector<Step> steps_;
};

TEST(DescriptorStream, ShortWritesAndSignalsLoseNoByteAndFailuresAreToldApart) {
    ScriptedStream interrupted({{3}, {-1, EINTR}, {4}, {-1, EINTR}});
    interrupted.writeBytes("converted text");
    EXPECT_EQ(interrupted.taken, "converted text");
    EXPECT_FALSE(interrupted.failed());
    EXPECT_EQ(interrupted.failure(), 0);

    // The reader of the pipe has gone: quietly over, and never tried again.
    ScriptedStream gone({{5}, {-1, EPIPE}});
    EXPECT_FALSE(gone.writeText("quillmerec: a.txt: not found\n"));
    EXPECT_TRUE(gone.failed());
    EXPECT_TRUE(gone.readerGone());
    EXPECT_THROW(gone.writeBytes("more"), AppError);
    EXPECT_EQ(gone.calls, 2u);

    ScriptedStream full({{-1, ENOSPC}});
    try {
        full.writeBytes("x");
        ADD_FAILURE() << "the write did not fail";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::DiskFull);
    }
    EXPECT_FALSE(full.readerGone());
    EXPECT_EQ(full.failure(), err::DiskFull);

    // A write that takes nothing and says nothing is a full disk too.
    ScriptedStream nothing(std::vector<ScriptedStream::Step>{{0}});
    EXPECT_FALSE(nothing.writeText("x"));
    EXPECT_EQ(nothing.failure(), err::DiskFull);
}

TEST(DescriptorStream, RealPipesAndFiles) {
    // SIGPIPE ignored, as the program's main has it: a closed pipe is EPIPE.
    struct sigaction ignore {
    }, before{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &before);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    DescriptorStream closed(ends[1]);
    EXPECT_FALSE(closed.isTerminal());
    EXPECT_EQ(closed.columns(), 0u);
    EXPECT_THROW(closed.writeBytes("text"), AppError);
    EXPECT_TRUE(closed.readerGone());
    close(ends[1]);
    sigaction(SIGPIPE, &before, nullptr);

    const int full = open("/dev/full", O_WRONLY);
    if (full >= 0) {
        DescriptorStream disk(full);
        EXPECT_FALSE(disk.writeText("x"));
        EXPECT_EQ(disk.failure(), err::DiskFull);
        EXPECT_FALSE(disk.readerGone());
        close(full);
    }
}

// A descriptor shared with a program that made it non-blocking: a full pipe is waited for, not a
// failure.
TEST(DescriptorStream, AFullNonBlockingPipeIsWaitedFor) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    fcntl(ends[1], F_SETFL, fcntl(ends[1], F_GETFL) | O_NONBLOCK);
    std::string text(3 * 1024 * 1024 + 7, 'x');
    for (std::size_t i = 0; i < text.size(); i += 101) text[i] = static_cast<char>('a' + i % 26);
    std::string received;
    std::thread reader([&] {
        char block[65536];
        for (ssize_t got; (got = read(ends[0], block, sizeof block)) > 0;) received.append(block, got);
    });
    {
        DescriptorStream stream(ends[1]);
        stream.writeBytes(text);
        EXPECT_FALSE(stream.failed());
    }
    close(ends[1]);
    reader.join();
    close(ends[0]);
    EXPECT_EQ(received, text);
}

TEST(DescriptorStream, ATerminalSaysItsWidthOrTheEnvironmentDoes) {
    int controller = -1, terminal = -1;
    winsize size{};
    size.ws_col = 97;
    size.ws_row = 20;
    ASSERT_EQ(openpty(&controller, &terminal, nullptr, nullptr, &size), 0);
    DescriptorStream stream(terminal);
    EXPECT_TRUE(stream.isTerminal());
    EXPECT_EQ(stream.columns(), 97u);

    // A terminal that does not know its width (a serial line): COLUMNS, when it is a number.
    size.ws_col = 0;
    ASSERT_EQ(ioctl(terminal, TIOCSWINSZ, &size), 0);
    const char *saved = getenv("COLUMNS");
    const std::string before = saved ? saved : "";
    setenv("COLUMNS", "64", 1);
    EXPECT_EQ(stream.columns(), 64u);
    setenv("COLUMNS", "wide", 1);
    EXPECT_EQ(stream.columns(), 0u);
    unsetenv("COLUMNS");
    EXPECT_EQ(stream.columns(), 0u);
    if (saved) setenv("COLUMNS", before.c_str(), 1);
    close(terminal);
    close(controller);
}

} // namespace
