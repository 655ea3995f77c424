// A run of the console program in process, stopped by Ctrl+C at each moment between its files: the
// file in hand is put in place or left untouched, nothing of the program's own stays, and the run ends
// with "stopped" and 130.
#include "console/console_stream.h"
#include "console/handle_input.h"
#include "console/windows_input_names.h"
#include "console_fixture.h"
#include "console_run.h"

#include "handles.h"
#include "windows_file_system.h"

namespace {

class StoppedRun : public ConsoleFolderTest {
protected:
    // Runs with Ctrl+C arriving before the stopAt-th question of the run (0: never); standard output
    // and standard error go into files.
    int run(const std::vector<std::string> &arguments, int stopAt, const std::string &input = "") {
        const std::string inputFile = write("input.bin", input);
        FileHandle in(CreateFileW(wideOf(inputFile).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
        FileHandle out(CreateFileW(wideOf(path("stdout.bin")).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                   nullptr, CREATE_ALWAYS, 0, nullptr));
        FileHandle err(CreateFileW(wideOf(path("stderr.bin")).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                   nullptr, CREATE_ALWAYS, 0, nullptr));
        HandleInput standardInput(in.get());
        TemporarySpillFiles spillFiles(folder_);
        ConsoleStream output(out.get()), errors(err.get());
        WindowsInputNames names;
        SystemFileMoves moves;
        WindowsFileSystem files(moves);
        int asked = 0;
        ConsoleIo io{.input = standardInput,
                     .spillFiles = spillFiles,
                     .output = output,
                     .errors = errors,
                     .names = names,
                     .files = files,
                     .clock = [] { return std::uint64_t{0}; },
                     .stopRequested = [&] { return stopAt && ++asked >= stopAt; }};
        return runConsole(arguments, io);
    }
    std::string errors() const { return readBytes(path("stderr.bin")); }
    std::vector<std::string> leftBehind(const std::string &below = "") const {
        return namesMatching(folder_ + below + "~qm*");
    }
};

TEST_F(StoppedRun, CtrlCBetweenFilesStopsAfterTheFileInHandWith130) {
    const auto writeInputs = [&] {
        write("a.txt", "a\tb");
        write("b.txt", "b\tc");
        write("c.txt", "c\td");
    };
    const std::vector<std::string> inPlace = {"--in-place",  "-t",          "2",
                                              path("a.txt"), path("b.txt"), path("c.txt")};
    // Three files: the run asks once before verifying each and once before converting each.
    struct Case {
        int stopAt;
        const char *converted; // which of a, b, c are converted
    } cases[] = {{1, "---"}, {3, "---"}, {4, "---"}, {5, "a--"}, {6, "ab-"}, {0, "abc"}};
    for (const Case &each : cases) {
        writeInputs();
        const int code = run(inPlace, each.stopAt);
        const std::string expected = each.converted;
        EXPECT_EQ(code, expected == "abc" ? exitCode::done : exitCode::stopped) << each.stopAt;
        EXPECT_EQ(errors(), expected == "abc" ? "" : "quillmerec: stopped\r\n") << each.stopAt;
        EXPECT_EQ(readBytes(path("a.txt")), expected[0] == 'a' ? "a b" : "a\tb") << each.stopAt;
        EXPECT_EQ(readBytes(path("b.txt")), expected[1] == 'b' ? "b c" : "b\tc") << each.stopAt;
        EXPECT_EQ(readBytes(path("c.txt")), expected[2] == 'c' ? "c d" : "c\td") << each.stopAt;
        EXPECT_TRUE(leftBehind().empty()) << each.stopAt;
    }

    // Into a folder: what was converted is in place, the rest never made.
    writeInputs();
    EXPECT_EQ(run({"-t", "2", "-o", path("out"), path("*.txt")}, 5), exitCode::stopped);
    EXPECT_EQ(readBytes(path("out\\a.txt")), "a b");
    EXPECT_FALSE(exists("out\\b.txt"));
    EXPECT_TRUE(leftBehind("out\\").empty());
}

// Input that Ctrl+C cut short (the program feeding the pipe was stopped too) is no whole text.
TEST_F(StoppedRun, CtrlCWhileStandardInputIsReadWritesNothing) {
    write("out.txt", "old");
    EXPECT_EQ(run({"-t", "2", "-o", path("out.txt")}, 1, "a\tb"), exitCode::stopped);
    EXPECT_EQ(readBytes(path("out.txt")), "old");
    EXPECT_EQ(errors(), "quillmerec: stopped\r\n");
    EXPECT_EQ(readBytes(path("stdout.bin")), "");
    EXPECT_EQ(run({"-t", "2", "-o", path("out.txt")}, 0, "a\tb"), exitCode::done);
    EXPECT_EQ(readBytes(path("out.txt")), "a b");
}

} // namespace
