// The native quillmerec run as a shell runs it: interrupts that leave every file whole, a reader that
// goes away, the progress line on a terminal only, names that are bytes and never patterns.
#include "native_program.h"
#include "platform_files.h"

#include <csignal>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

class NativeProgram : public PortableFilesTest {};

std::string fileName(int file) {
    char name[16];
    std::snprintf(name, sizeof name, "f%03d.txt", file);
    return name;
}

// SIGINT once the first file is in place: the run stops after the file in hand, with 130, and every
// file has its old text or its new text, whole, with nothing of the program's own left beside them.
TEST_F(NativeProgram, AnInterruptStopsTheRunAfterTheFileInHandWith130) {
    constexpr int files = 500;
    const std::string line(60, 'x');
    std::string before, after; // 64 KiB and more each: enough work that the run is not over at once
    for (int i = 0; i < 1100; ++i) before += "\t" + line + "\n", after += "        " + line + "\n";
    for (int file = 0; file < files; ++file) write("in/" + fileName(file), before);
    FolderWatch watch(path("in"), IN_MOVED_TO);
    bool firstInPlace = false;
    const NativeResult result =
        runNative({.arguments = {"--in-place", "-q", path("in")}, .whileRunning = [&](pid_t program) {
                       firstInPlace = watch.waitForMovedTo(fileName(0), 30000);
                       kill(program, SIGINT);
                   }});
    ASSERT_TRUE(firstInPlace);
    EXPECT_EQ(result.exitCode, 130) << result.errors;
    EXPECT_EQ(result.errors, "quillmerec: stopped\n");
    int converted = 0;
    for (int file = 0; file < files; ++file) {
        const std::string text = read("in/" + fileName(file));
        EXPECT_TRUE(text == before || text == after) << fileName(file) << " is neither whole";
        converted += text == after;
    }
    EXPECT_GE(converted, 1);
    EXPECT_LT(converted, files) << "the run was over before the interrupt came";
    EXPECT_TRUE(ownFilesIn("in").empty());
}

// SIGTERM while standard input is still coming: no whole text, so the destination stays as it was.
TEST_F(NativeProgram, ATerminationWhileInputIsReadWritesNothing) {
    write("out.txt", "old");
    const NativeResult result = runNative({.arguments = {"-o", path("out.txt")},
                                           .input = std::string(1 << 20, '\t'),
                                           .inputLeftOpen = true,
                                           .onceInputTaken = [](pid_t program) { kill(program, SIGTERM); }});
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.errors, "quillmerec: stopped\n");
    EXPECT_EQ(read("out.txt"), "old");
    EXPECT_TRUE(ownFilesIn().empty());
}

// "quillmerec *.txt | head -c 1" quit early: no SIGPIPE death and no message, exit 1.
TEST_F(NativeProgram, AStandardOutputWithoutReaderEndsTheRunQuietlyWithOne) {
    write("a.txt", "a\tb\n");
    write("b.txt", "b\tc\n");
    const NativeResult result =
        runNative({.arguments = {path("a.txt"), path("b.txt")}, .outputReaderGone = true});
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "");
}

TEST_F(NativeProgram, TheProgressLineIsDrawnOnATerminalOnlyAndWipedAtTheEnd) {
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) write(std::string("src/") + name, "\tx\n");
    const NativeRun onTerminal{.arguments = {"-o", path("out"), path("src")},
                               .environment = {"QM_PROGRESS_AFTER_MS=0"},
                               .errorsOnTerminal = true};
    NativeResult result = runNative(onTerminal);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errors.rfind("\rVerifying: 0 of 3 files, 0 B", 0), 0u) << result.errors;
    EXPECT_EQ(result.errors.find('\n'), std::string::npos);
    // Wiped: blanks over the last line, and back to its start.
    ASSERT_GE(result.errors.size(), 2u);
    EXPECT_EQ(result.errors.substr(result.errors.find_last_not_of(" \r") + 1, 3), "\r  ");
    EXPECT_EQ(result.errors.back(), '\r');
    EXPECT_EQ(read("out/b.txt"), "        x\n");

    NativeRun onPipe = onTerminal;
    onPipe.errorsOnTerminal = false;
    result = runNative(onPipe);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errors, "");
    NativeRun quiet = onTerminal;
    quiet.arguments.insert(quiet.arguments.begin(), "-q");
    result = runNative(quiet);
    EXPECT_EQ(result.errors, "");
}

// The shell has expanded any pattern: a * that reaches the program is part of a name.
TEST_F(NativeProgram, AWildcardIsANameNeverExpanded) {
    write("a.txt", "\ta");
    NativeResult result = runNative({.arguments = {"--in-place", path("*.txt")}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "quillmerec: " + path("*.txt") + ": not found\n");
    EXPECT_EQ(read("a.txt"), "\ta");

    write("*.txt", "\tstar");
    result = runNative({.arguments = {"--in-place", path("*.txt")}});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(read("*.txt"), "        star");
    EXPECT_EQ(read("a.txt"), "\ta");
}

// Names are bytes: a name that is no UTF-8 is read, written, mirrored and named as it is.
TEST_F(NativeProgram, NamesThatAreNoUtf8WorkAsTheyAre) {
    const std::string latin1 = "caf\xe9";
    write("src/" + latin1 + "/na\xefve.txt", "\tx");
    write("src/a.txt", "\ty");
    NativeResult result = runNative({.arguments = {"-r", "-o", path("out"), path("src")}});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(read("out/" + latin1 + "/na\xefve.txt"), "        x");
    EXPECT_EQ(read("out/a.txt"), "        y");

    result = runNative({.arguments = {"--in-place", path("src/" + latin1 + "/na\xefve.txt")}});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(read("src/" + latin1 + "/na\xefve.txt"), "        x");

    result = runNative({.arguments = {path(latin1 + ".txt")}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "quillmerec: " + path(latin1 + ".txt") + ": not found\n");
}

// Text that is not UTF-8 and has no byte-order mark is a byte a column; UTF-8 counts what an editor
// shows. Standard input goes to standard output byte for byte, line ends kept.
TEST_F(NativeProgram, StandardInputToStandardOutputCountsColumnsByItsEncoding) {
    NativeResult result = runNative({.arguments = {"-t", "4"}, .input = "\xe9\tx\r\n\t\xff\n"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "\xe9   x\r\n    \xff\n");
    result = runNative({.arguments = {"-t", "4"}, .input = "\xc3\xa9\tx\n\xe8\xa1\xa8\ty\n"});
    EXPECT_EQ(result.output, "\xc3\xa9   x\n\xe8\xa1\xa8  y\n");

    write("a.txt", "\ta");
    result = runNative({.arguments = {"-o", "/dev/null", path("a.txt")}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
}

// Standard input redirected from a file past what is held in memory is read where it is: with no
// temporary folder to spill into, and also where the conversion takes that very file's place.
TEST_F(NativeProgram, StandardInputRedirectedFromALargeFileIsReadWhereItIs) {
    std::string text, converted;
    for (int line = 0; line < 2000000; ++line) { // 10 MB, past the 8 MiB held in memory
        text += "ab\tc\n";
        converted += "ab  c\n";
    }
    write("big.txt", text);
    const NativeResult result = runNative({.arguments = {"-t", "4", "-o", path("big.txt")},
                                           .inputFile = path("big.txt"),
                                           .environment = {"TMPDIR=" + path("no such folder")}});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.errors, "");
    EXPECT_TRUE(read("big.txt") == converted) << "the file's text is not its conversion";
    EXPECT_TRUE(ownFilesIn().empty());
}

TEST_F(NativeProgram, MessagesEndInLineFeedsAndUnixOnlyOptionsAreUsageErrors) {
    NativeResult result = runNative({.arguments = {"--help"}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.find('\r'), std::string::npos);
    EXPECT_EQ(result.output.rfind("Usage: quillmerec [OPTION]... [FILE|FOLDER]...\n", 0), 0u);
    EXPECT_NE(result.output.find("-o /dev/null discards the output"), std::string::npos);
    EXPECT_EQ(result.output.find("--user-path"), std::string::npos);

    result = runNative({.arguments = {"--user-path-add=/opt/quillmere"}});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errors, "quillmerec: option '--user-path-add' is not supported on this system\n"
                             "Try 'quillmerec --help' for more information.\n");
    result = runNative({.arguments = {"--tabz=4"}});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errors, "quillmerec: unrecognized option '--tabz'\n"
                             "Try 'quillmerec --help' for more information.\n");
}

} // namespace
