// The real quillmerec.exe, run as scripts and builds run it: exit codes, standard input and output,
// folders and wildcards, --check, --in-place, and the inputs it must name and leave alone.
#include "console_fixture.h"
#include "console_program.h"
#include "manifest_checks.h"
#include "quillmere_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

class ConsoleProgram : public ConsoleFolderTest {
protected:
    // The names in this test's folder, or a folder below it, that the program may have left behind.
    std::vector<std::string> temporaryFiles(const std::string &below = "") const {
        return namesMatching(folder_ + below + "~qm*");
    }
};

const char *const usageHint = "Try 'quillmerec --help' for more information.\r\n";

TEST_F(ConsoleProgram, StandardInputGoesToStandardOutputByteForByte) {
    // Line ends of every kind stay, no line end is added, bytes that are no text stay as they are.
    const std::string input = "a\tb\r\nxy\tz\nend\t";
    ProgramResult result = runConsoleProgram({"-t", "4"}, input);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "a   b\r\nxy  z\nend ");
    EXPECT_EQ(result.errors, "");

    result = runConsoleProgram({"-"}, std::string("\t\x00\xff\t|\r\n", 7));
    EXPECT_EQ(result.output, std::string("        \x00\xff      |\r\n", 19));

    // An empty input gives an empty output.
    result = runConsoleProgram({}, "");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "");

    // Into a file with -o; text that is not plain text (an end mark before its end) is refused.
    EXPECT_EQ(runConsoleProgram({"-o", path("from input.txt")}, "a\tb").exitCode, 0u);
    EXPECT_EQ(readBytes(path("from input.txt")), "a       b");
    result = runConsoleProgram({}, "a\x1a\tb");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, "quillmerec: (standard input): not plain text\r\n");

    // A lone CR ends a line, as it does in the window.
    EXPECT_EQ(runConsoleProgram({"-t", "4"}, "ab\rc\td").output, "ab\rc   d");
    // A backspace takes a column like any other character.
    EXPECT_EQ(runConsoleProgram({"-t", "4"}, "ab\b\tc").output, "ab\b c");
    // UTF-8 text counts the columns an editor shows: a wide character two, a combining mark none.
    EXPECT_EQ(runConsoleProgram({"-t", "4"}, "\xe8\xa1\xa8\tx\ne\xcc\x81\ty").output,
              "\xe8\xa1\xa8  x\ne\xcc\x81   y");
}

// Input longer than the program holds in memory: the rest waits in a temporary file, the encoding is
// still told from the whole text (its one wide character comes last), and the file is gone afterwards.
TEST_F(ConsoleProgram, LongStandardInputIsConvertedWholeAndLeavesNoFileBehind) {
    const auto spillFiles = [] {
        wchar_t folder[MAX_PATH + 2] = {};
        GetTempPathW(MAX_PATH + 2, folder);
        return namesMatching(utf8Of(folder) + "~qm*.standard input.tmp").size();
    };
    const std::size_t before = spillFiles();
    std::string input, expected;
    for (int line = 0; line < 2400000; ++line) { // 9.6 MB
        input += "a\tb\n";
        expected += "a   b\n";
    }
    input += "\xe8\xa1\xa8\tx";
    expected += "\xe8\xa1\xa8  x";
    ProgramResult result = runConsoleProgram({"-t", "4"}, input);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.output == expected) << result.output.size() << " bytes out";
    EXPECT_EQ(result.errors, "");

    result = runConsoleProgram({"--check"}, input);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, "(standard input)\r\n");

    EXPECT_EQ(runConsoleProgram({"-t", "4", "-o", path("long.txt")}, input).exitCode, 0u);
    EXPECT_TRUE(readBytes(path("long.txt")) == expected);
    EXPECT_EQ(spillFiles(), before);
}

TEST_F(ConsoleProgram, OptionsChooseTheRule) {
    EXPECT_EQ(runConsoleProgram({}, "a\tb").output, "a       b");
    EXPECT_EQ(runConsoleProgram({"--tabs=3"}, "a\tb").output, "a  b");
    EXPECT_EQ(runConsoleProgram({"-t", "4,8,12"}, "a\tb\tc\td\te").output, "a   b   c   d e");
    EXPECT_EQ(runConsoleProgram({"-t", "2,/5"}, "a\tb\tc\td").output, "a b  c    d");
    EXPECT_EQ(runConsoleProgram({"-t", "2,+5"}, "a\tb\tc\td").output, "a b    c    d");
    EXPECT_EQ(runConsoleProgram({"-i", "-t", "4"}, " \tx\ty\n\tz").output, "    x\ty\n    z");
    EXPECT_EQ(runConsoleProgram({"--spaces=3"}, "ab\tc\td").output, "ab   c   d");
}

TEST_F(ConsoleProgram, UsageErrorsExitWith2AndAOneLineHint) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--frobnicate"}, "quillmerec: unrecognized option '--frobnicate'\r\n"},
        {{"-x"}, "quillmerec: invalid option -- 'x'\r\n"},
        {{"-t"}, "quillmerec: option '-t' requires an argument\r\n"},
        {{"--spaces=0"}, "quillmerec: --spaces takes a number of spaces from 1 to 16, not '0'\r\n"},
        {{"--in-place", "--check", "a.txt"}, "quillmerec: --check cannot be combined with --in-place\r\n"},
        {{"--in-place"}, "quillmerec: --in-place needs files to replace\r\n"},
    };
    for (const auto &[arguments, message] : cases) {
        const ProgramResult result = runConsoleProgram(arguments);
        EXPECT_EQ(result.exitCode, 2u) << arguments.front();
        EXPECT_EQ(result.errors, message + usageHint);
        EXPECT_EQ(result.output, "");
    }
}

TEST_F(ConsoleProgram, HelpAndVersionGoToStandardOutput) {
    ProgramResult result = runConsoleProgram({"--version"});
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, std::string("quillmerec (Quillmere) ") + QM_VERSION_TEXT + "\r\n");
    result = runConsoleProgram({"--help"});
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output.rfind("Usage: quillmerec [OPTION]... [FILE|FOLDER]...\r\n", 0), 0u);
    // The two places where it parts from expand are named.
    EXPECT_NE(result.output.find("a lone CR ends a line"), std::string::npos);
    EXPECT_NE(result.output.find("a backspace is a column"), std::string::npos);
    // What a user at a prompt needs to know of Windows: Ctrl+C, devices, *.*, the end mark.
    EXPECT_NE(result.output.find("130 when stopped by Ctrl+C"), std::string::npos);
    EXPECT_NE(result.output.find("-o NUL discards the output"), std::string::npos);
    EXPECT_NE(result.output.find("*.* takes every\r\nfile"), std::string::npos);
    EXPECT_NE(result.output.find("Ctrl+Z byte (0x1A) before its end is not plain text"), std::string::npos);
}

TEST_F(ConsoleProgram, BadInputsAreNamedAndTheRestConverted) {
    write("in\\good.txt", "a\tb\r\n");
    write("in\\binary.txt", std::string("a\x1a\tb\r\n", 6));
    write("in\\held.txt", "held\t\r\n");
    const HANDLE writer = CreateFileW(wideOf(path("in\\held.txt")).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const ProgramResult result =
        runConsoleProgram({"-o", path("out"), path("in"), path("in\\missing.txt"), path("none*.txt")});
    CloseHandle(writer);

    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.errors, "quillmerec: " + path("none*.txt") + ": no file matches\r\n" +
                                 "quillmerec: " + path("in\\binary.txt") + ": not plain text\r\n" +
                                 "quillmerec: " + path("in\\held.txt") + ": held by another program\r\n" +
                                 "quillmerec: " + path("in\\missing.txt") + ": not found\r\n");
    EXPECT_EQ(readBytes(path("out\\good.txt")), "a       b\r\n");
    EXPECT_FALSE(exists("out\\binary.txt"));
    EXPECT_FALSE(exists("out\\held.txt"));
    EXPECT_EQ(readBytes(path("in\\binary.txt")), std::string("a\x1a\tb\r\n", 6));
}

TEST_F(ConsoleProgram, AnUnwritableDestinationIsNamedAndLeftAsItWas) {
    write("a.txt", "a\tb");
    write("b.txt", "c\td");
    write("out\\a.txt", "old");
    ASSERT_TRUE(SetFileAttributesW(wideOf(path("out\\a.txt")).c_str(), FILE_ATTRIBUTE_READONLY));
    const ProgramResult result =
        runConsoleProgram({"-t", "2", "-o", path("out"), path("a.txt"), path("b.txt")});
    SetFileAttributesW(wideOf(path("out\\a.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.errors, "quillmerec: " + path("out\\a.txt") + ": access denied\r\n");
    EXPECT_EQ(readBytes(path("out\\a.txt")), "old");
    EXPECT_EQ(readBytes(path("out\\b.txt")), "c d");
    EXPECT_TRUE(temporaryFiles("out\\").empty());

    // A file is never its own destination.
    const ProgramResult self = runConsoleProgram({"-o", path("a.txt"), path("a.txt")});
    EXPECT_EQ(self.exitCode, 1u);
    EXPECT_EQ(self.errors,
              "quillmerec: " + path("a.txt") + ": the destination is the file itself (use --in-place)\r\n");
    EXPECT_EQ(readBytes(path("a.txt")), "a\tb");
}

TEST_F(ConsoleProgram, OneFileGoesToTheFileNamedByOutputOrIntoAFolder) {
    write("a.txt", "x\ty");
    EXPECT_EQ(runConsoleProgram({"-o", path("converted.out"), path("a.txt")}).exitCode, 0u);
    EXPECT_EQ(readBytes(path("converted.out")), "x       y");
    CreateDirectoryW(wideOf(path("existing")).c_str(), nullptr);
    EXPECT_EQ(runConsoleProgram({"-t", "2", "--output=" + path("existing"), path("a.txt")}).exitCode, 0u);
    EXPECT_EQ(readBytes(path("existing\\a.txt")), "x y");
    // A trailing backslash names a folder that is made when missing.
    EXPECT_EQ(runConsoleProgram({"-t", "3", "-o", path("new\\"), path("a.txt")}).exitCode, 0u);
    EXPECT_EQ(readBytes(path("new\\a.txt")), "x  y");
    // Files without -o make one text on standard output, as expand reads them: the line that a.txt
    // leaves open goes on in b.txt.
    write("b.txt", "\tz\n");
    EXPECT_EQ(runConsoleProgram({"-t", "2", path("a.txt"), path("b.txt")}).output, "x y z\n");
}

TEST_F(ConsoleProgram, RecursiveRunMirrorsSubfoldersUnderTheDestination) {
    write("src\\a.txt", "a\tb");
    write("src\\sub\\b.txt", "\tb");
    write("src\\sub\\deeper\\c.TXT", "c\t");
    write("src\\sub\\code.c", "int\tx;");
    write("src\\notes.md", "\tmd");

    ProgramResult result = runConsoleProgram({"-t", "4", "-o", path("flat"), path("src")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("flat\\a.txt")), "a   b");
    EXPECT_FALSE(exists("flat\\sub"));

    result = runConsoleProgram({"-r", "-t", "4", "-o", path("tree"), path("src")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("tree\\a.txt")), "a   b");
    EXPECT_EQ(readBytes(path("tree\\sub\\b.txt")), "    b");
    EXPECT_EQ(readBytes(path("tree\\sub\\deeper\\c.TXT")), "c   ");
    EXPECT_FALSE(exists("tree\\sub\\code.c"));
    EXPECT_FALSE(exists("tree\\notes.md"));

    result = runConsoleProgram({"-rt", "4", "--ext=c", "--ext", ".md", "-o", path("other"), path("src")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("other\\sub\\code.c")), "int x;");
    EXPECT_EQ(readBytes(path("other\\notes.md")), "    md");
    EXPECT_FALSE(exists("other\\a.txt"));
}

TEST_F(ConsoleProgram, WildcardsAreExpandedByTheProgram) {
    write("one.c", "1\t");
    write("two.c", "2\t");
    write("three.h", "3\t");
    write("sub\\four.c", "4\t");
    const ProgramResult result =
        runConsoleProgram({"-t", "2", "-o", path("out"), path("*.c"), path("t?ree.*")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("out\\one.c")), "1 ");
    EXPECT_EQ(readBytes(path("out\\two.c")), "2 ");
    EXPECT_EQ(readBytes(path("out\\three.h")), "3 ");
    EXPECT_FALSE(exists("out\\four.c"));
    // Relative to the working folder, in the order of the names.
    EXPECT_EQ(runConsoleProgram({"-t", "2", "*.c"}, "", folder_).output, "1 2 ");
}

TEST_F(ConsoleProgram, CheckListsFilesWithTabsAndChangesNothing) {
    write("src\\clean.txt", "no tabs\r\n");
    write("src\\indented.txt", "\tx\r\n");
    write("src\\inside.txt", "x\ty\r\n");
    ProgramResult result = runConsoleProgram({"--check", path("src")});
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, path("src\\indented.txt") + "\r\n" + path("src\\inside.txt") + "\r\n");
    EXPECT_EQ(readBytes(path("src\\indented.txt")), "\tx\r\n");
    // With -i only leading tabs count.
    result = runConsoleProgram({"--check", "-i", path("src\\clean.txt"), path("src\\inside.txt")});
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "");
    // Standard input too.
    result = runConsoleProgram({"--check"}, "a\tb");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, "(standard input)\r\n");
}

TEST_F(ConsoleProgram, InPlaceReplacesEachInputAndLeavesNothingBeside) {
    write("a.txt", "a\tb\r\n");
    write("b.txt", "\t\tc");
    ASSERT_TRUE(
        SetFileAttributesW(wideOf(path("b.txt")).c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
    const ProgramResult result = runConsoleProgram({"--in-place", "-t", "2", path("a.txt"), path("b.txt")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("a.txt")), "a b\r\n");
    EXPECT_EQ(readBytes(path("b.txt")), "    c");
    // The file keeps its attributes.
    EXPECT_TRUE(GetFileAttributesW(wideOf(path("b.txt")).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(temporaryFiles().empty());
}

// Ended while it writes the replacement, the program leaves the input whole and no file beside it.
TEST_F(ConsoleProgram, InPlaceKilledMidWriteLeavesTheInputWhole) {
    std::string text;
    for (int line = 0; text.size() < (96u << 20); ++line)
        text += "\tline\t" + std::to_string(line) + "\tend\r\n";
    write("big.txt", text);
    RunningProgram program({"--in-place", "-q", path("big.txt")});
    bool seenWriting = false;
    for (int wait = 0; wait < 6000 && !seenWriting; ++wait) {
        for (const std::string &name : temporaryFiles()) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            if (GetFileAttributesExW(wideOf(path(name)).c_str(), GetFileExInfoStandard, &data) &&
                (data.nFileSizeLow > 0 || data.nFileSizeHigh > 0))
                seenWriting = true;
        }
        if (!seenWriting) Sleep(5);
    }
    ASSERT_TRUE(seenWriting) << "the replacement was never seen being written";
    program.kill();
    EXPECT_EQ(readBytes(path("big.txt")), text);
    EXPECT_TRUE(temporaryFiles().empty());
}

// Killed right after 1, 10 and 100 files have been put in place: every file keeps its old text whole
// or has its new text whole, under its own name or, where the kill fell between the two renames of a
// replace, back under it after the next run, which also clears what the killed run left.
TEST_F(ConsoleProgram, InPlaceKilledAmongTheCommitsLosesNoFileAndTheNextRunPutsAllRight) {
    constexpr int files = 300;
    const auto name = [](int file) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "f%03d.txt", file);
        return std::string(buffer);
    };
    const auto before = [](int file) { return "\tfile\t" + std::to_string(file) + "\r\n"; };
    const auto after = [](int file) { return "    file    " + std::to_string(file) + "\r\n"; };
    for (const int killAfter : {1, 10, 100}) {
        SCOPED_TRACE(killAfter);
        for (int file = 0; file < files; ++file) write(name(file), before(file));
        RunningProgram program({"--in-place", "-q", "-t", "4", path("*.txt")});
        const std::string watched = path(name(killAfter - 1));
        bool reached = false;
        for (const DWORD deadline = GetTickCount() + 20000; !reached && GetTickCount() < deadline;) {
            reached = readBytes(watched) == after(killAfter - 1);
            if (!reached) Sleep(1);
        }
        ASSERT_TRUE(reached) << "file " << killAfter << " never went in place";
        program.kill();
        int missing = 0;
        for (int file = 0; file < files; ++file) {
            if (GetFileAttributesW(wideOf(path(name(file))).c_str()) == INVALID_FILE_ATTRIBUTES) {
                ++missing;
                continue;
            }
            const std::string text = readBytes(path(name(file)));
            EXPECT_TRUE(text == before(file) || text == after(file)) << name(file) << ": " << text;
        }
        EXPECT_LE(missing, 1);
        const ProgramResult again = runConsoleProgram({"--in-place", "-q", "-t", "4", path("*.txt")});
        EXPECT_EQ(again.exitCode, 0u) << again.errors;
        for (int file = 0; file < files; ++file) EXPECT_EQ(readBytes(path(name(file))), after(file));
        EXPECT_TRUE(temporaryFiles().empty());
    }
}

TEST_F(ConsoleProgram, NamesOutsideTheCodePageArriveWholeInAPipe) {
    const std::string name = "\xd1\x82\xd0\xb0\xd0\xb1-\xe8\xa1\xa8-\xce\xb1.txt"; // таб-表-α.txt
    write("src\\" + name, "\tx");
    ProgramResult result = runConsoleProgram({"--check", path("src")});
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, path("src\\" + name) + "\r\n");

    result = runConsoleProgram({"-o", path("out"), path("src\\*.txt")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("out\\" + name)), "        x");

    result = runConsoleProgram({path("src\\missing-\xe8\xa1\xa8.txt")});
    EXPECT_EQ(result.errors, "quillmerec: " + path("src\\missing-\xe8\xa1\xa8.txt") + ": not found\r\n");
}

// What a person at a command prompt sees: names in any script, and a progress line that appears in a
// long run, stays on one line and is gone at the end.
class OnAConsole : public ConsoleProgram {
protected:
    void SetUp() override {
        ConsoleProgram::SetUp();
        ASSERT_TRUE(console_.ready());
    }
    // Runs the program on the console and records whether a progress line was ever seen meanwhile.
    DWORD runWatching(const std::vector<std::string> &arguments) {
        RunningProgram program(arguments, RunningProgram::Streams::TestConsole);
        DWORD code = STILL_ACTIVE;
        for (int wait = 0; wait < 600 && code == STILL_ACTIVE; ++wait) {
            code = program.waitForExit(50);
            const std::string screen = console_.shown();
            if (screen.find("Verifying: ") != std::string::npos ||
                screen.find("Converting: ") != std::string::npos) {
                progressSeen_ = true;
                progressRows_ =
                    std::max<std::size_t>(progressRows_, std::count(screen.begin(), screen.end(), '\n') + 1);
            }
        }
        return code;
    }
    std::string bigInput() {
        std::string text;
        for (int line = 0; text.size() < (96u << 20); ++line)
            text += "\tline\t" + std::to_string(line) + "\r\n";
        return write("big.txt", text);
    }

    TestConsole console_;
    bool progressSeen_ = false;
    std::size_t progressRows_ = 0;
};

TEST_F(OnAConsole, NamesOutsideTheCodePageShowWhole) {
    const std::string name = "\xd1\x82\xd0\xb0\xd0\xb1-\xe8\xa1\xa8-\xce\xb1.txt"; // таб-表-α.txt
    write("src\\" + name, "\tx");
    EXPECT_EQ(runWatching({"--check", path("src"), path("gone-\xce\xb1.txt")}), 1u);
    EXPECT_EQ(console_.shown(),
              "quillmerec: " + path("gone-\xce\xb1.txt") + ": not found\n" + path("src\\" + name));
}

TEST_F(OnAConsole, LongRunShowsAProgressLineInPlaceAndWipesIt) {
    const std::string big = bigInput();
    // The line appears sooner than after the usual second, so that it shows however fast the run is.
    SetEnvironmentVariableW(L"QM_PROGRESS_AFTER_MS", L"50");
    const DWORD code = runWatching({"-o", path("out.txt"), big});
    SetEnvironmentVariableW(L"QM_PROGRESS_AFTER_MS", nullptr);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(progressSeen_);
    EXPECT_EQ(progressRows_, 1u); // drawn again on its own row, never a new one
    EXPECT_EQ(console_.shown(), "");
}

BOOL WINAPI ignoreControl(DWORD) { return TRUE; }

// Ctrl+C on the console: the file in hand is finished or left, nothing of the program's own stays
// beside the files, and the exit code says it was stopped.
TEST_F(OnAConsole, CtrlCStopsTheRunAfterTheFileInHandWith130) {
    std::string text, converted;
    for (int line = 0; text.size() < (24u << 20); ++line) {
        text += "\tline\t" + std::to_string(line) + "\r\n";
        converted += "        line    " + std::to_string(line) + "\r\n";
    }
    std::vector<std::string> arguments = {"--in-place", "-q"};
    for (const char *name : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "6.txt"})
        arguments.push_back(write(name, text));
    RunningProgram program(arguments, RunningProgram::Streams::TestConsole);
    bool converting = false;
    for (int wait = 0; wait < 6000 && !converting; ++wait) {
        converting = !temporaryFiles().empty();
        if (!converting) Sleep(5);
    }
    ASSERT_TRUE(converting) << "no replacement was ever seen being written";
    // To every process on the console, the test's own included, which lets it pass.
    SetConsoleCtrlHandler(ignoreControl, TRUE);
    const BOOL sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    ASSERT_TRUE(sent);
    EXPECT_EQ(program.waitForExit(60000), 130u);
    EXPECT_TRUE(temporaryFiles().empty());
    int whole = 0;
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        const std::string now = readBytes(arguments[i]);
        EXPECT_TRUE(now == text || now == converted)
            << arguments[i] << " is neither the old nor the new text";
        whole += now == converted;
    }
    EXPECT_LT(whole, 6) << "the run was not stopped";
    EXPECT_NE(console_.shown().find("quillmerec: stopped"), std::string::npos) << console_.shown();
    SetConsoleCtrlHandler(ignoreControl, FALSE);
}

TEST_F(OnAConsole, QuietRunOrRedirectedErrorsShowNoProgress) {
    const std::string big = bigInput();
    SetEnvironmentVariableW(L"QM_PROGRESS_AFTER_MS", L"50"); // a line would show at once
    EXPECT_EQ(runWatching({"-q", "-o", path("out.txt"), big}), 0u);
    EXPECT_FALSE(progressSeen_);
    EXPECT_EQ(console_.shown(), "");
    // Standard error into a pipe: a long run writes nothing there.
    const ProgramResult result = runConsoleProgram({"-o", path("out2.txt"), big});
    SetEnvironmentVariableW(L"QM_PROGRESS_AFTER_MS", nullptr);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.errors, "");
}

} // namespace

namespace {

// Without a manifest that asks for an execution level, Windows virtualizes this 32-bit program's writes
// into protected folders: --in-place into Program Files would "succeed" into the user's VirtualStore.
TEST(ConsoleProgramManifest, RunsAsInvokerOnWindows7To11WithLongPathsAndTheCodePageLeftAlone) {
    const HMODULE program = LoadLibraryExW(wideOf(consoleProgramPath()).c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    std::string manifest;
    if (found) {
        const char *bytes = static_cast<const char *>(LockResource(LoadResource(program, found)));
        if (bytes) manifest.assign(bytes, SizeofResource(program, found));
    }
    FreeLibrary(program);
    expectAsInvokerOnWindows7To11(manifest);
    EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "true</longPathAware>"),
              std::string::npos);
    // The program speaks UTF-16 to Windows: the user's code page stays for the bytes of ANSI files.
    EXPECT_EQ(manifest.find("<activeCodePage"), std::string::npos);
    // No window: no common controls, no DPI awareness of its own.
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

// Messages go to standard error from the middle of a run; standard error closed (its reader gone, a
// detached handle) must not end the run.
TEST_F(ConsoleProgram, ClosedStandardErrorStopsNoRun) {
    write("file.txt", "a\tb");
    const ProgramResult result = runConsoleProgram(
        {"--in-place", "-t", "2", path("missing.txt"), path("file.txt")}, ClosedReader::Errors);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(readBytes(path("file.txt")), "a b");
    EXPECT_TRUE(temporaryFiles().empty());
}

// "quillmerec --check *.txt | more", quit early: console tools end quietly with 1, once.
TEST_F(ConsoleProgram, ClosedStandardOutputEndsTheRunQuietlyWithOne) {
    write("a.txt", "\ta");
    write("b.txt", "\tb");
    write("c.txt", "\tc");
    ProgramResult result =
        runConsoleProgram({"--check", path("a.txt"), path("b.txt"), path("c.txt")}, ClosedReader::Output);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.errors, "");
    result = runConsoleProgram({path("a.txt"), path("b.txt")}, ClosedReader::Output);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.errors, "");
    result = runConsoleProgram({"-t", "4"}, ClosedReader::Output, "a\tb");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(readBytes(path("a.txt")), "\ta");
}

// Files made on other systems may be called aux.txt or con.txt: they are files, read and written as
// such; a bare device name given as a file is refused before anything is read.
TEST_F(ConsoleProgram, NamesThatWindowsReadsAsDevicesAreFiles) {
    const auto writeAsFile = [&](const std::string &name, const std::string &bytes) {
        writeBytes("\\\\?\\" + path(name), bytes);
    };
    CreateDirectoryW(wideOf(path("src")).c_str(), nullptr);
    writeAsFile("src\\aux.txt", "\taux");
    writeAsFile("src\\con.txt", "\tcon");
    writeAsFile("src\\plain.txt", "no tab");

    ProgramResult result = runConsoleProgram({"--check", path("src")});
    EXPECT_EQ(result.exitCode, 1u) << result.errors;
    EXPECT_EQ(result.output, path("src\\aux.txt") + "\r\n" + path("src\\con.txt") + "\r\n");

    result = runConsoleProgram({"-t", "2", "-o", path("out"), path("src")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes("\\\\?\\" + path("out\\aux.txt")), "  aux");
    EXPECT_EQ(readBytes("\\\\?\\" + path("out\\con.txt")), "  con");

    // In the working folder, by its bare name and by a wildcard.
    result = runConsoleProgram({"--check", "aux.txt", "c*.txt"}, "", path("src"));
    EXPECT_EQ(result.exitCode, 1u) << result.errors;
    EXPECT_EQ(result.output, ".\\aux.txt\r\n.\\con.txt\r\n");
    result = runConsoleProgram({"-o", "con.txt", "plain.txt"}, "", path("src"));
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes("\\\\?\\" + path("src\\con.txt")), "no tab");
    writeAsFile("src\\con.txt", "\tcon");

    result = runConsoleProgram({"--in-place", "-t", "3", path("src\\aux.txt")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes("\\\\?\\" + path("src\\aux.txt")), "   aux");
    EXPECT_TRUE(temporaryFiles("src\\").empty());

    result = runConsoleProgram({"CON"});
    EXPECT_EQ(result.exitCode, 2u);
    EXPECT_EQ(result.errors, std::string("quillmerec: 'CON' names a device, not a file\r\n") + usageHint);
}

TEST_F(ConsoleProgram, OutputToNulIsDiscardedAndTheRunReportsAsUsual) {
    write("a.txt", "a\tb");
    ProgramResult result = runConsoleProgram({"-o", "NUL", "a.txt"}, "", folder_);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(namesMatching(folder_ + "*"), std::vector<std::string>{"a.txt"});
    result = runConsoleProgram({"-o", "nul", path("a.txt"), path("missing.txt")});
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.errors, "quillmerec: " + path("missing.txt") + ": not found\r\n");
    EXPECT_EQ(readBytes(path("a.txt")), "a\tb");
}

// cmd takes every file for "*.*", also one without an extension.
TEST_F(ConsoleProgram, StarDotStarTakesEveryFileAsCmdDoes) {
    write("Makefile", "all:\n\tcc x.c\n");
    write("x.c", "int\tx;");
    const ProgramResult result = runConsoleProgram({"-t", "4", "-o", path("out"), path("*.*")});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(path("out\\Makefile")), "all:\n    cc x.c\n");
    EXPECT_EQ(readBytes(path("out\\x.c")), "int x;");
}

// A name given by its 8.3 short name is the file itself, not another name for it.
TEST_F(ConsoleProgram, InPlaceThroughAShortNameConvertsTheFile) {
    const std::string longName = write("a rather long name.txt", "a\tb");
    wchar_t shortName[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(wideOf(longName).c_str(), shortName, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::string given = utf8Of(shortName);
    ASSERT_NE(given, longName);
    const ProgramResult result = runConsoleProgram({"--in-place", "-t", "2", given});
    EXPECT_EQ(result.exitCode, 0u) << result.errors;
    EXPECT_EQ(readBytes(longName), "a b");
    EXPECT_TRUE(temporaryFiles().empty());
}

// cmd passes -o "D:\out dir\" a.txt on as it is, and Windows' rules read \" as a quote inside the
// argument: the rest of the line becomes the output's name. The program says so, and never waits for
// typed input.
TEST_F(ConsoleProgram, AQuotedPathEndingInABackslashIsAUsageErrorThroughCmd) {
    write("a.txt", "a\tb");
    const std::string line =
        "cmd.exe /c " + consoleProgramPath() + " -o \"" + path("out dir") + "\\\" " + path("a.txt");
    const ProgramResult result = runCommandLine(line);
    EXPECT_EQ(result.exitCode, 2u) << result.errors;
    EXPECT_EQ(result.errors, "quillmerec: '" + path("out dir") + "\" " + path("a.txt") +
                                 "' holds a quote, likely from a quoted path ending in a backslash: write "
                                 "it without the last backslash\r\n" +
                                 usageHint);
    EXPECT_FALSE(exists("out dir"));
}

} // namespace
