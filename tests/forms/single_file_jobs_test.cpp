// Converting one file: what lands in the destination, what the user is told, and that nothing is
// lost when a job cannot finish.
#include "engine_support.h"
#include "form_fixture.h"

#include "failed/frm_error.h"
#include "main/frm_main.h"
#include "whole_text.h"

#include <psapi.h>

namespace {

class SingleFile : public FormTest {
protected:
    // Runs the verification, then the job of the setting, as a run does when nothing failed.
    void choose(const std::string &source, const std::string &destination, const std::string &spaces = "8") {
        controls(main()).sourceFileBox.setText(source);
        controls(main()).destinationFileBox.setText(destination);
        controls(main()).spacesBox.setText(spaces);
    }
    int failedCount() { return main().failedFilesWindow().failedFileCount(); }
};

TEST_F(SingleFile, TabStopsFillToTheNextStopAndSayTheFileIsReady) {
    const std::string source = writeFile("in.txt", "a\tb\r\nabcdefgh\tx\r\nab\t\tc");
    choose(source, temp() + "out.txt");
    main().verifySingleFile();
    ASSERT_EQ(failedCount(), 0);
    main().convertSingleFileWithTabStops();
    EXPECT_EQ(readFile(temp() + "out.txt"),
              "a       b\r\nabcdefgh        x\r\nab" + std::string(14, ' ') + "c\r\n");
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "File is ready!        ");
    EXPECT_EQ(desk.messages()[0].title, "Quillmere");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(SingleFile, FixedNumberGivesEveryTabTheSameRunAndAddsOneLineBreak) {
    const std::string source = writeFile("in.txt", "a\tb\r\n");
    choose(source, temp() + "out.txt");
    main().convertSingleFileWithFixedSpaces();
    EXPECT_EQ(readFile(temp() + "out.txt"), "a        b\r\n\r\n");
    EXPECT_EQ(desk.messages().at(0).text, "File is ready!        ");
}

TEST_F(SingleFile, EmptySourceGivesNothingUnderTabStopsAndOneLineBreakUnderAFixedNumber) {
    const std::string source = writeFile("empty.txt", "");
    choose(source, temp() + "tabs.txt");
    main().convertSingleFileWithTabStops();
    choose(source, temp() + "fixed.txt");
    main().convertSingleFileWithFixedSpaces();
    EXPECT_TRUE(exists(temp() + "tabs.txt"));
    EXPECT_EQ(readFile(temp() + "tabs.txt"), "");
    EXPECT_EQ(readFile(temp() + "fixed.txt"), "\r\n");
}

TEST_F(SingleFile, TabStopsRestartAfterALoneLineFeed) {
    const std::string source = writeFile("lf.txt", "ab\n\tc");
    choose(source, temp() + "out.txt");
    main().convertSingleFileWithTabStops();
    EXPECT_EQ(readFile(temp() + "out.txt"), "ab\n        c\r\n");
}

TEST_F(SingleFile, WidthsOutsideTheUpDownRange) {
    const std::string source = writeFile("in.txt", "a\tb");
    choose(source, temp() + "tabs17.txt", "17");
    main().convertSingleFileWithTabStops();
    EXPECT_EQ(readFile(temp() + "tabs17.txt"), "a" + std::string(16, ' ') + "b\r\n");
    choose(source, temp() + "tabs20.txt", "20");
    main().convertSingleFileWithTabStops();
    EXPECT_EQ(readFile(temp() + "tabs20.txt"), "a" + std::string(19, ' ') + "b\r\n");
    choose(source, temp() + "fixed20.txt", "20");
    main().convertSingleFileWithFixedSpaces();
    EXPECT_EQ(readFile(temp() + "fixed20.txt"), "a        b\r\n");
    choose(source, temp() + "fixed-5.txt", "-5");
    main().convertSingleFileWithFixedSpaces();
    EXPECT_EQ(readFile(temp() + "fixed-5.txt"), "a        b\r\n");
}

TEST_F(SingleFile, ZeroOrNegativeTabStopsFailAndLeaveTheFormerDestinationWhole) {
    const std::string source = writeFile("in.txt", std::string(200000, 'x') + "\r\n\tb");
    const std::string destination = writeFile("out.txt", "keep me");
    choose(source, destination, "0");
    main().convertSingleFileWithTabStops();
    choose(source, destination, "-5");
    main().convertSingleFileWithTabStops();
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text, errorText(11, "Division by zero", "frmMain - replaceTWSfixedSingle"));
    EXPECT_EQ(desk.messages()[0].title, "Error");
    EXPECT_EQ(desk.messages()[1].text,
              errorText(5, "Invalid procedure call or argument", "frmMain - replaceTWSfixedSingle"));
    EXPECT_EQ(readFile(destination), "keep me");
    EXPECT_EQ(namesIn(temp()).size(), 2u) << "no temporary file is left beside the destination";
}

TEST_F(SingleFile, NonNumericNumberOfSpacesFailsEachJobUnderItsOwnNameBeforeWriting) {
    const std::string source = writeFile("in.txt", "a\tb");
    choose(source, temp() + "out.txt", "x");
    main().convertSingleFileWithTabStops();
    main().convertSingleFileWithFixedSpaces();
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text, errorText(13, "Type mismatch", "frmMain - replaceTWSfixedSingle"));
    EXPECT_EQ(desk.messages()[1].text,
              errorText(13, "Type mismatch", "frmMain - replaceTABSwithSPACESSingle"));
    EXPECT_FALSE(exists(temp() + "out.txt"));
    EXPECT_EQ(namesIn(temp()).size(), 1u);
}

TEST_F(SingleFile, SourceHeldOpenForWritingIsListedOnceAndItsDestinationUntouched) {
    const std::string source = writeFile("busy.txt", "a\tb");
    const std::string destination = writeFile("out.txt", "former");
    const FileHandle editor = holdOpenForWriting(source);
    ASSERT_TRUE(editor.valid());
    choose("  " + source + " ", destination);
    main().verifySingleFile();
    main().verifySingleFile();
    ASSERT_EQ(failedCount(), 1);
    EXPECT_EQ(main().failedFilesWindow().failedFiles().at(0), source);
    EXPECT_TRUE(desk.messages().empty());
    EXPECT_EQ(readFile(destination), "former");
}

TEST_F(SingleFile, EndOfTextMarkBeforeTheLastByteMarksTheSourceAsNotPlainText) {
    const std::string early = writeFile("early.txt", "ab\x1A"
                                                     "cd");
    const std::string last = writeFile("last.txt", "abcd\x1A");
    choose(early, temp() + "out.txt");
    main().verifySingleFile();
    choose(last, temp() + "out.txt");
    main().verifySingleFile();
    ASSERT_EQ(failedCount(), 1);
    EXPECT_EQ(main().failedFilesWindow().failedFiles().at(0), early);
}

TEST_F(SingleFile, MissingSourceIsListedByTheCheckAndTheConversionGivesTheStandardMessage) {
    choose(temp() + "gone.txt", temp() + "out.txt");
    EXPECT_TRUE(main().verifySingleFile());
    main().convertSingleFileWithTabStops();
    ASSERT_EQ(failedCount(), 1);
    EXPECT_EQ(main().failedFilesWindow().failedFiles().at(0), temp() + "gone.txt");
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, errorText(53, "File not found", "frmMain - replaceTWSfixedSingle"));
    EXPECT_FALSE(exists(temp() + "out.txt"));
}

TEST_F(SingleFile, SourceInAFolderThatWentOrUnderAnImpossibleNameIsListedAsFailed) {
    for (const std::string &path : {temp() + "gone\\in.txt", temp() + "in?.txt", temp()}) {
        SCOPED_TRACE(path);
        main().failedFilesWindow().clearFailedFiles();
        choose(path, temp() + "out.txt");
        EXPECT_TRUE(main().verifySingleFile());
        EXPECT_EQ(failedCount(), 1);
        EXPECT_TRUE(desk.messages().empty()) << desk.messages().front().text;
    }
}

TEST_F(SingleFile, DestinationThatCannotBeReplacedIsKeptAndNoTemporaryFileStays) {
    const std::string source = writeFile("in.txt", "a\tb");
    const std::string destination = writeFile("out.txt", "former");
    {
        const FileHandle reader = holdExclusively(destination);
        choose(source, destination);
        main().convertSingleFileWithTabStops();
        main().convertSingleFileWithFixedSpaces();
    }
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_NE(desk.messages()[0].text.find("frmMain - replaceTWSfixedSingle"), std::string::npos);
    EXPECT_NE(desk.messages()[1].text.find("frmMain - replaceTABSwithSPACESSingle"), std::string::npos);
    EXPECT_EQ(readFile(destination), "former");
    EXPECT_EQ(namesIn(temp()).size(), 2u);
}

TEST_F(SingleFile, DestinationInAMissingFolderShowsTheStandardMessage) {
    const std::string source = writeFile("in.txt", "a\tb");
    choose(source, temp() + "nowhere\\out.txt");
    main().convertSingleFileWithTabStops();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, errorText(76, "Path not found", "frmMain - replaceTWSfixedSingle"));
    EXPECT_EQ(namesIn(temp()).size(), 1u);
}

TEST_F(SingleFile, SourceReachedAgainAsTheDestinationIsNeverChanged) {
    const std::string source = writeFile("same.txt", "a\tb\r\n");
    CreateDirectoryA((temp() + "sub").c_str(), nullptr);
    choose(source, temp() + "sub\\..\\SAME.TXT");
    main().convertSingleFileWithTabStops();
    EXPECT_EQ(readFile(source), "a\tb\r\n");
    choose(source, temp() + "sub\\..\\same.txt");
    main().convertSingleFileWithFixedSpaces();
    EXPECT_EQ(readFile(source), "a\tb\r\n");
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text,
              errorText(75, "Path/File access error", "frmMain - replaceTWSfixedSingle"));
    EXPECT_EQ(desk.messages()[1].text,
              errorText(75, "Path/File access error", "frmMain - replaceTABSwithSPACESSingle"));
    EXPECT_EQ(namesIn(temp()).size(), 2u);
}

TEST_F(SingleFile, FilesOfManyBlocksComeOutAsTheWholeTextRouteGivesThem) {
    // Lines and CR LF pairs cross the 1 MiB blocks the files are read in (text_files.h); a lone CR and
    // LF stand among them.
    const std::size_t block = 1 << 20;
    std::string text;
    for (int i = 0; text.size() < block * 3 + 17; ++i)
        text += "col\t" + std::to_string(i) + (i % 7 ? "\tx\r\n" : "\rz\n\t");
    const std::string source = writeFile("big.txt", text);
    choose(source, temp() + "tabs.txt", "5");
    main().convertSingleFileWithTabStops();
    choose(source, temp() + "fixed.txt", "3");
    main().convertSingleFileWithFixedSpaces();
    EXPECT_TRUE(readFile(temp() + "tabs.txt") == expandTabStopsWhole(text, 5));
    EXPECT_TRUE(readFile(temp() + "fixed.txt") == fixedSpacesWhole(text, 3));
}

TEST_F(SingleFile, HundredsOfMegabytesConvertInAFewMegabytesOfMemory) {
    const std::string source = temp() + "huge.txt";
    {
        FileHandle out(CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        std::string block;
        while (block.size() < (1 << 20)) block += "name\tvalue\tmore text here\r\n";
        block.resize(1 << 20);
        DWORD written;
        for (int i = 0; i < 256; ++i)
            WriteFile(out.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    PROCESS_MEMORY_COUNTERS before{};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    choose(source, temp() + "huge-out.txt");
    main().verifySingleFile();
    main().convertSingleFileWithTabStops();
    main().convertSingleFileWithFixedSpaces();
    PROCESS_MEMORY_COUNTERS after{};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_EQ(failedCount(), 0);
    EXPECT_EQ(desk.messages().size(), 2u);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA((temp() + "huge-out.txt").c_str(), GetFileExInfoStandard, &data);
    EXPECT_GT(data.nFileSizeLow, 256u << 20);
    EXPECT_LT(after.PeakPagefileUsage, before.PeakPagefileUsage + (16u << 20))
        << "peak private memory grew by " << (after.PeakPagefileUsage - before.PeakPagefileUsage);
}

} // namespace
