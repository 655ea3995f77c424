// The run both programs share, over the platform's own files: what lands in each destination, what a
// failure or a stop leaves, and that nothing of the program's own stays behind.
#include "platform_files.h"

#include "file_run.h"

#include <string>
#include <vector>

namespace {

struct StopRequested {};

// What the run tells its front end, and a stop after a given number of files.
class HeardRun : public RunEvents {
public:
    explicit HeardRun(int stopAfter = 0) : stopAfter_(stopAfter) {}
    void fileDone() override {
        if (++done == stopAfter_) throw StopRequested{};
    }
    void fileFailed(const RunFile &file, const AppError &error) override {
        failedSources.push_back(file.source);
        failures.push_back(error.number);
    }
    void inputVerified(std::size_t input, TextEncoding encoding) override {
        verified.push_back({input, encoding});
    }
    void inputFailed(std::size_t input, const AppError &error) override {
        failedInputs.push_back({input, error.number});
    }

    int done = 0;
    std::vector<std::string> failedSources;
    std::vector<int32_t> failures;
    std::vector<std::pair<std::size_t, TextEncoding>> verified;
    std::vector<std::pair<std::size_t, int32_t>> failedInputs;

private:
    int stopAfter_;
};

// Tab stops every 8 columns, line ends as they are: the console program's usual run.
FileReading tabStopsOf8() {
    ConversionMode mode;
    mode.lineEnds = LineEnds::Kept;
    return {ShareWrite::Denied, [mode] { return mode; }, false};
}

class SharedRun : public PortableFilesTest {
protected:
    void runAll(const std::vector<RunFile> &run, HeardRun &events, FailurePolicy policy, bool inPlace = false,
                bool makeFolders = false) {
        runFiles(run, tabStopsOf8(), {policy, inPlace, makeFolders}, events, *files);
    }
};

TEST_F(SharedRun, EachDestinationGetsItsConversionAndNothingOfTheProgramStays) {
    const std::string a = write("in/a.txt", "a\tb\n"), b = write("in/b.txt", "\t\tx\r\nab\tc");
    write("out/b.txt", "the former text of b, longer than the new one\n");
    const std::string c = write("in/c.txt", "");
    HeardRun events;
    runAll({{a, path("out/a.txt")}, {b, path("out/b.txt")}, {c, path("out/new/deeper/c.txt")}}, events,
           FailurePolicy::GoOnWithRest, false, true);

    EXPECT_EQ(read("out/a.txt"), "a       b\n");
    EXPECT_EQ(read("out/b.txt"), "                x\r\nab      c");
    EXPECT_TRUE(exists("out/new/deeper/c.txt"));
    EXPECT_EQ(read("out/new/deeper/c.txt"), "");
    EXPECT_EQ(read("in/b.txt"), "\t\tx\r\nab\tc") << "a source is never changed";
    EXPECT_EQ(events.done, 3);
    EXPECT_TRUE(events.failures.empty());
    EXPECT_TRUE(ownFilesIn("out").empty());
    EXPECT_TRUE(ownFilesIn("out/new/deeper").empty());
}

TEST_F(SharedRun, AFailureIsNamedAndTheRestGoOnOrTheRunEndsThere) {
    const std::string a = write("in/a.txt", "\ta"), c = write("in/c.txt", "\tc");
    const std::string missing = path("in/missing.txt");
    const std::vector<RunFile> run{
        {a, path("out/a.txt")}, {missing, path("out/m.txt")}, {c, path("out/c.txt")}};
    write("out/keep.txt", "");

    HeardRun goingOn;
    runAll(run, goingOn, FailurePolicy::GoOnWithRest);
    EXPECT_EQ(read("out/a.txt"), "        a");
    EXPECT_EQ(read("out/c.txt"), "        c");
    EXPECT_EQ(goingOn.failedSources, std::vector<std::string>{missing});
    EXPECT_EQ(goingOn.failures, std::vector<int32_t>{err::FileNotFound});
    EXPECT_FALSE(exists("out/m.txt"));

    write("out/a.txt", "old a"), write("out/c.txt", "old c");
    HeardRun stopping;
    try {
        runAll(run, stopping, FailurePolicy::StopAtFirst);
        ADD_FAILURE() << "the missing source did not end the run";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::FileNotFound);
    }
    EXPECT_EQ(read("out/a.txt"), "        a") << "the file before the failure is in place";
    EXPECT_EQ(read("out/c.txt"), "old c") << "no file after it is touched";
    EXPECT_TRUE(ownFilesIn("out").empty());
}

TEST_F(SharedRun, AStopBetweenFilesPutsInPlaceWhatWasConvertedAndNothingElse) {
    std::vector<RunFile> run;
    for (const char *name : {"1.txt", "2.txt", "3.txt"})
        run.push_back({write(std::string("in/") + name, "\tx\n"), path(std::string("out/") + name)});
    write("out/3.txt", "old");
    HeardRun events(2);
    EXPECT_THROW(runAll(run, events, FailurePolicy::GoOnWithRest), StopRequested);
    EXPECT_EQ(read("out/1.txt"), "        x\n");
    EXPECT_EQ(read("out/2.txt"), "        x\n");
    EXPECT_EQ(read("out/3.txt"), "old");
    EXPECT_TRUE(ownFilesIn("out").empty());
}

TEST_F(SharedRun, InPlaceEachSourceIsReplacedWholeAndAnUnchangedOneKeepsItsBytes) {
    const std::string big(3 * 1024 * 1024 + 5, 'y'); // more than one block of reading
    const std::string a = write("a.txt", "x\ty\r\n" + big), b = write("b.txt", "no tab\n");
    HeardRun events;
    runAll({{a, a}, {b, b}}, events, FailurePolicy::GoOnWithRest, true);
    EXPECT_EQ(read("a.txt"), "x       y\r\n" + big);
    EXPECT_EQ(read("b.txt"), "no tab\n");
    EXPECT_TRUE(ownFilesIn().empty());
}

TEST_F(SharedRun, VerificationNamesEachEncodingAndEachInputThatCannotBeConverted) {
    const std::vector<std::string> inputs{write("ascii.txt", "a\tb\n"),
                                          write("utf8.txt", "caf\xC3\xA9\tb\n"),
                                          path("missing.txt"),
                                          write("bom.txt", "\xEF\xBB\xBF\tb"),
                                          write("ended.txt", "a\x1A\tb\n"),
                                          write("utf16.txt", std::string("\xFF\xFE\x09\x00", 4)),
                                          write("bytes.txt", "caf\xE9\tb\n")};
    HeardRun events;
    verifyFiles(inputs, FailurePolicy::GoOnWithRest, events, *files);
    using E = TextEncoding;
    const std::vector<std::pair<std::size_t, TextEncoding>> verified{
        {0, E::Ansi}, {1, E::Utf8}, {3, E::Utf8Bom}, {5, E::Utf16Le}, {6, E::Ansi}};
    EXPECT_EQ(events.verified, verified);
    const std::vector<std::pair<std::size_t, int32_t>> failed{{2, err::FileNotFound}, {4, err::InputPastEnd}};
    EXPECT_EQ(events.failedInputs, failed);
    EXPECT_EQ(events.done, 7);
}

TEST_F(SharedRun, OneFileIsNeverConvertedIntoItselfUnderAnySpelling) {
    const std::string source = write("sub/a.txt", "a\tb\n");
    for (const std::string &spelling : {source, path("sub/./a.txt"), path("sub/../sub/a.txt")}) {
        SCOPED_TRACE(spelling);
        try {
            runOneFile({source, spelling, TextEncoding::Ansi}, tabStopsOf8(), *files);
            ADD_FAILURE() << "converted into itself";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, err::PathFileAccess);
        }
        EXPECT_EQ(read("sub/a.txt"), "a\tb\n");
    }
    EXPECT_TRUE(ownFilesIn("sub").empty());
    runOneFile({source, path("sub/b.txt"), TextEncoding::Ansi}, tabStopsOf8(), *files);
    EXPECT_EQ(read("sub/b.txt"), "a       b\n");
}

// 4000001 is no process here: Windows gives multiples of 4, and Linux has not reached that number.
TEST_F(SharedRun, WhatAnEndedRunLeftInADestinationFolderGoesBeforeTheFirstFile) {
    write("out/~qm4000001-7.a.txt.tmp", "half a new text");
    write("out/~qm4000001-8.tmp", "another");
    const std::string a = write("in/a.txt", "\ta");
    HeardRun events;
    runAll({{a, path("out/a.txt")}}, events, FailurePolicy::StopAtFirst);
    EXPECT_EQ(read("out/a.txt"), "        a");
    EXPECT_TRUE(ownFilesIn("out").empty());
}

} // namespace
