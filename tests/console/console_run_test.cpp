// Runs of the console program in process over the platform's own files and names: stopped at each
// moment between files, two inputs for one file, standard input in and out, a standard output whose
// reader has gone, the progress line only on a terminal, and the user's PATH only where the system
// keeps one.
#include "console_platform.h"
#include "console_run.h"
#include "platform_files.h"
#include "recorded_output.h"
#include "scripted_input.h"

namespace {

class ConsoleRunTest : public PortableFilesTest {
protected:
    // Runs with a stop asked before the stopAt-th question of the run (0: never).
    int run(const std::vector<std::string> &arguments, int stopAt = 0) {
        const std::unique_ptr<InputNames> names = platformInputNames();
        const std::unique_ptr<SpillFiles> spill = platformSpillFiles(path(""));
        int asked = 0;
        ConsoleIo io{.input = input,
                     .spillFiles = *spill,
                     .output = output,
                     .errors = errors,
                     .names = *names,
                     .files = *files,
                     .userPath = userPath,
                     .clock = [&] { return now += 1000; },
                     .stopRequested = [&] { return stopAt && ++asked >= stopAt; }};
        return runConsole(arguments, io);
    }
    std::string line(const std::string &text) const { return text + messageLineEnd; }

    ScriptedInput input{{}};
    RecordedOutput output, errors;
    UserPathSetting *userPath = nullptr;
    std::uint64_t now = 0;
};

TEST_F(ConsoleRunTest, AStopBetweenFilesEndsTheRunAfterTheFileInHandWith130) {
    const auto writeInputs = [&] {
        write("in/a.txt", "a\tb");
        write("in/b.txt", "b\tc");
        write("in/c.txt", "c\td");
    };
    const std::vector<std::string> inPlace = {"--in-place",    "-t", "2", path("in/a.txt"), path("in/b.txt"),
                                              path("in/c.txt")};
    // Three files: the run asks once before verifying each and once before converting each.
    struct Case {
        int stopAt;
        const char *converted; // which of a, b, c are converted
    } cases[] = {{1, "---"}, {3, "---"}, {4, "---"}, {5, "a--"}, {6, "ab-"}, {0, "abc"}};
    for (const Case &each : cases) {
        writeInputs();
        errors.written.clear();
        const std::string expected = each.converted;
        EXPECT_EQ(run(inPlace, each.stopAt), expected == "abc" ? exitCode::done : exitCode::stopped)
            << each.stopAt;
        EXPECT_EQ(errors.written, expected == "abc" ? "" : line("quillmerec: stopped")) << each.stopAt;
        EXPECT_EQ(read("in/a.txt"), expected[0] == 'a' ? "a b" : "a\tb") << each.stopAt;
        EXPECT_EQ(read("in/b.txt"), expected[1] == 'b' ? "b c" : "b\tc") << each.stopAt;
        EXPECT_EQ(read("in/c.txt"), expected[2] == 'c' ? "c d" : "c\td") << each.stopAt;
        EXPECT_TRUE(ownFilesIn("in").empty()) << each.stopAt;
    }

    // Into a folder: what was converted is in place, the rest never made.
    writeInputs();
    EXPECT_EQ(run({"-t", "2", "-o", path("out"), path("in")}, 5), exitCode::stopped);
    EXPECT_EQ(read("out/a.txt"), "a b");
    EXPECT_FALSE(exists("out/b.txt"));
    EXPECT_TRUE(ownFilesIn("out").empty());
}

// A run killed between the two renames of a replace (Windows' ReplaceFile moves the former file aside
// first) left the former text under its backup name and the file's own name missing. The next run in
// place puts it back before it takes the folder's files, so the file is converted with the rest.
TEST_F(ConsoleRunTest, ARunInPlaceTakesBackAFileThatAKilledRunLeftUnderItsBackupName) {
    // 4194305 is no process: no Windows process id is odd, and Linux gives none past 2^22.
    const auto plantBackup = [&](const std::string &folder, const std::string &name,
                                 const std::string &text) {
        write(folder + "/~qm4194305-3." + name + ".bak", text);
    };
    write("in/a.txt", "a\tb");
    plantBackup("in", "b.txt", "b\tc");
    EXPECT_EQ(run({"--in-place", "-t", "2", path("in")}), exitCode::done) << errors.written;
    EXPECT_EQ(read("in/a.txt"), "a b");
    EXPECT_EQ(read("in/b.txt"), "b c");
    EXPECT_TRUE(ownFilesIn("in").empty());

    // In a subfolder of a recursive run.
    plantBackup("in/sub", "c.txt", "c\td");
    EXPECT_EQ(run({"--in-place", "-r", "-t", "2", path("in")}), exitCode::done) << errors.written;
    EXPECT_EQ(read("in/sub/c.txt"), "c d");
    EXPECT_TRUE(ownFilesIn("in/sub").empty());

    // The file named itself.
    plantBackup("in", "d.txt", "d\te");
    EXPECT_EQ(run({"--in-place", "-t", "2", path("in/d.txt")}), exitCode::done) << errors.written;
    EXPECT_EQ(read("in/d.txt"), "d e");
    EXPECT_TRUE(ownFilesIn("in").empty());
    EXPECT_EQ(errors.written, "");

    // Where the program matches wildcards itself (Windows), among the files a pattern matches.
    if (platformInputNames()->named(path("in/*.txt")).kind != NamedInput::Kind::Pattern) return;
    plantBackup("in", "e.txt", "e\tf");
    EXPECT_EQ(run({"--in-place", "-t", "2", path("in/*.txt")}), exitCode::done) << errors.written;
    EXPECT_EQ(read("in/e.txt"), "e f");
    EXPECT_TRUE(ownFilesIn("in").empty());
}

// Two inputs that would write one file: the first is converted, the second named and left out (on
// Windows the second would otherwise be refused as held by another program, the run itself).
TEST_F(ConsoleRunTest, AFileThatTwoInputsWouldWriteIsWrittenForTheFirstOnly) {
    write("in/a.txt", "a\tb");
    write("other/a.txt", "c\td");
    const std::string same = ": another input has the same destination";
    EXPECT_EQ(run({"-t", "2", "-o", path("out"), path("in/a.txt"), path("other/a.txt")}),
              exitCode::failedOrFound);
    EXPECT_EQ(errors.written, line("quillmerec: " + path("other/a.txt") + same));
    EXPECT_EQ(read("out/a.txt"), "a b");
    EXPECT_EQ(read("in/a.txt"), "a\tb");

    // In place: named again, in its folder, or spelled otherwise; a file of the same name elsewhere
    // is another file.
    errors.written.clear();
    const std::string spelledOtherwise = path("in") + pathSeparator + "." + pathSeparator + "a.txt";
    EXPECT_EQ(run({"--in-place", "-t", "3", path("in/a.txt"), path("in/a.txt"), path("in"), spelledOtherwise,
                   path("other/a.txt")}),
              exitCode::failedOrFound);
    EXPECT_EQ(errors.written, line("quillmerec: " + path("in/a.txt") + same) +
                                  line("quillmerec: " + path("in/a.txt") + same) +
                                  line("quillmerec: " + spelledOtherwise + same));
    EXPECT_EQ(read("in/a.txt"), "a  b");
    EXPECT_EQ(read("other/a.txt"), "c  d");
    EXPECT_TRUE(ownFilesIn("in").empty());
}

// Input cut short by an interrupt (the program feeding the pipe was stopped too) is no whole text.
TEST_F(ConsoleRunTest, StandardInputCutShortByAnInterruptWritesNothing) {
    write("out.txt", "old");
    input = ScriptedInput({"a\t", "b"}, true);
    EXPECT_EQ(run({"-t", "2", "-o", path("out.txt")}), exitCode::stopped);
    EXPECT_EQ(read("out.txt"), "old");
    EXPECT_EQ(errors.written, line("quillmerec: stopped"));
    EXPECT_EQ(output.written, "");

    // A stop asked while the whole input was read: the same.
    errors.written.clear();
    input = ScriptedInput({"a\t", "b"});
    EXPECT_EQ(run({"-t", "2", "-o", path("out.txt")}, 1), exitCode::stopped);
    EXPECT_EQ(read("out.txt"), "old");
    // A stop asked while it was verified (a file read where it is has no read that a stop ends): the same.
    input = ScriptedInput({"a\t", "b"});
    EXPECT_EQ(run({"-t", "2", "-o", path("out.txt")}, 2), exitCode::stopped);
    EXPECT_EQ(read("out.txt"), "old");

    input = ScriptedInput({"a\t", "b"});
    EXPECT_EQ(run({"-t", "2", "-o", path("out.txt")}), exitCode::done);
    EXPECT_EQ(read("out.txt"), "a b");
}

TEST_F(ConsoleRunTest, StandardInputGoesToStandardOutputOrNowhere) {
    input = ScriptedInput({"x\ty\r\n", "\tz"});
    EXPECT_EQ(run({"-t", "4"}), exitCode::done);
    EXPECT_EQ(output.written, "x   y\r\n    z");
    EXPECT_EQ(errors.written, "");

    output.written.clear();
    write("a.txt", "\ta");
    EXPECT_EQ(run({"-o", nullDeviceName, path("a.txt")}), exitCode::done);
    EXPECT_EQ(output.written, "");
    EXPECT_FALSE(exists(nullDeviceName));
}

// "quillmerec a.txt | head -c 1", "| more" quit early: the run ends quietly with 1, the message
// stream untouched; any other failure of standard output is named once.
TEST_F(ConsoleRunTest, AStandardOutputWhoseReaderHasGoneEndsTheRunQuietly) {
    write("a.txt", "a\tb\n");
    write("b.txt", "b\tc\n");
    output.failFrom = 1;
    output.readerLeft = true;
    EXPECT_EQ(run({path("a.txt"), path("b.txt")}), exitCode::failedOrFound);
    EXPECT_EQ(errors.written, "");

    RecordedOutput full;
    output = full;
    output.failFrom = 0;
    EXPECT_EQ(run({path("a.txt"), path("b.txt")}), exitCode::failedOrFound);
    EXPECT_EQ(errors.written, line("quillmerec: standard output: disk full"));
}

TEST_F(ConsoleRunTest, TheProgressLineIsDrawnOnATerminalOnlyAndWipedAtTheEnd) {
    write("a.txt", "a\tb\n");
    const auto progressShown = [&](bool terminal, const std::vector<std::string> &arguments) {
        errors = RecordedOutput();
        errors.terminal = terminal;
        EXPECT_EQ(run(arguments), exitCode::done);
        return errors.written.find("Converting: ") != std::string::npos;
    };
    EXPECT_TRUE(progressShown(true, {"-o", path("b.txt"), path("a.txt")}));
    EXPECT_EQ(errors.written.back(), '\r'); // wiped: the line ends where it began
    EXPECT_FALSE(progressShown(false, {"-o", path("b.txt"), path("a.txt")}));
    EXPECT_FALSE(progressShown(true, {"-q", "-o", path("b.txt"), path("a.txt")}));
}

class RecordedUserPath : public UserPathSetting {
public:
    std::string changes;
    bool refuses = false;
    void add(const std::string &folder) override { change("+" + folder); }
    void remove(const std::string &folder) override { change("-" + folder); }

private:
    void change(const std::string &what) {
        if (refuses) raiseError(err::PathFileAccess);
        changes += what + ";";
    }
};

TEST_F(ConsoleRunTest, TheUsersPathIsChangedWhereTheSystemKeepsOneAndElseIsAUsageError) {
    EXPECT_EQ(run({"--user-path-add=" + path("bin")}), exitCode::usage);
    EXPECT_EQ(errors.written, line("quillmerec: option '--user-path-add' is not supported on this system") +
                                  line("Try 'quillmerec --help' for more information."));
    errors.written.clear();
    EXPECT_EQ(run({"--user-path-remove", "bin"}), exitCode::usage);
    EXPECT_EQ(errors.written,
              line("quillmerec: option '--user-path-remove' is not supported on this system") +
                  line("Try 'quillmerec --help' for more information."));

    RecordedUserPath setting;
    userPath = &setting;
    errors.written.clear();
    EXPECT_EQ(run({"--user-path-add=" + path("bin")}), exitCode::done);
    EXPECT_EQ(run({"--user-path-remove", "bin"}), exitCode::done);
    EXPECT_EQ(setting.changes, "+" + path("bin") + ";-bin;");
    setting.refuses = true;
    EXPECT_EQ(run({"--user-path-add=bin"}), exitCode::failedOrFound);
    EXPECT_EQ(errors.written, line("quillmerec: the user's PATH: access denied"));
}

} // namespace
