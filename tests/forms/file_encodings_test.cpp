// Files in UTF-16 and UTF-8 through the single-file and folder jobs: the verification pass names the
// encoding, the conversion keeps it, and broken UTF-16 is listed as not plain text.
#include "engine_support.h"
#include "form_fixture.h"

#include "failed/frm_error.h"
#include "main/frm_main.h"

namespace {

using namespace std::string_literals;

class FileEncodings : public FormTest {
protected:
    // Verifies the source, then converts it under the setting, as a run does when nothing failed.
    std::string convert(const std::string &bytes, bool tabStops, const std::string &spaces = "8") {
        const std::string source = writeFile("in.txt", bytes);
        controls(main()).sourceFileBox.setText(source);
        controls(main()).destinationFileBox.setText(temp() + "out.txt");
        controls(main()).spacesBox.setText(spaces);
        main().verifySingleFile();
        if (failedCount() != 0) return "(listed)";
        if (tabStops)
            main().convertSingleFileWithTabStops();
        else
            main().convertSingleFileWithFixedSpaces();
        return readFile(temp() + "out.txt");
    }
    int failedCount() { return main().failedFilesWindow().failedFileCount(); }
};

TEST_F(FileEncodings, Utf16LittleEndianKeepsItsCodeUnitsAndBom) {
    // U+65E5 (2 columns), tab, x, CR LF.
    EXPECT_EQ(convert("\xFF\xFE\xE5\x65\t\0x\0\r\0\n\0"s, true),
              "\xFF\xFE\xE5\x65 \0 \0 \0 \0 \0 \0x\0\r\0\n\0"s);
    // Under a fixed number a lone CR stays as it is; U+041A holds a byte 0x1A and is text.
    EXPECT_EQ(convert("\xFF\xFE\x1A\x04\r\0\t\0"s, false, "2"), "\xFF\xFE\x1A\x04\r\0 \0 \0\r\0\n\0"s);
}

TEST_F(FileEncodings, Utf16BigEndianUnderBothRules) {
    EXPECT_EQ(convert("\xFE\xFF\0a\0\t\0b"s, false, "4"), "\xFE\xFF\0a\0 \0 \0 \0 \0b\0\r\0\n"s);
    // A surrogate pair (U+1F600, 2 columns) before a tab.
    EXPECT_EQ(convert("\xFE\xFF\xD8\x3D\xDE\x00\0\t\0q"s, true, "4"),
              "\xFE\xFF\xD8\x3D\xDE\x00\0 \0 \0q\0\r\0\n"s);
}

TEST_F(FileEncodings, Utf8CountsDisplayColumnsWithAndWithoutBom) {
    EXPECT_EQ(convert("caf\xC3\xA9\tx\r\n", true), "caf\xC3\xA9    x\r\n");
    EXPECT_EQ(convert("\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\ty", true),
              "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC    y\r\n");
    // Under a fixed number the bytes and the BOM stay as they were.
    EXPECT_EQ(convert("\xEF\xBB\xBF\xC3\xA9\tx", false, "3"), "\xEF\xBB\xBF\xC3\xA9   x\r\n");
}

TEST_F(FileEncodings, InvalidUtf8WithoutBomIsAnsiTextByteForByte) {
    // C3 A9 would be one character, but E9 makes the file invalid UTF-8: three columns, 5 spaces.
    EXPECT_EQ(convert("\xC3\xA9\xE9\tx", true), "\xC3\xA9\xE9     x\r\n");
    EXPECT_EQ(convert("caf\xE9\tx", true), "caf\xE9    x\r\n");
}

TEST_F(FileEncodings, BomAloneIsAnEmptyText) {
    EXPECT_EQ(convert("\xFF\xFE"s, true), "\xFF\xFE"s);
    EXPECT_EQ(convert("\xFF\xFE"s, false), "\xFF\xFE\r\0\n\0"s);
    EXPECT_EQ(convert("\xEF\xBB\xBF", true), "\xEF\xBB\xBF");
    EXPECT_EQ(convert("\xEF\xBB\xBF", false), "\xEF\xBB\xBF\r\n");
}

TEST_F(FileEncodings, BrokenUtf16IsListedAsNotPlainTextAndNotConverted) {
    const std::string former = writeFile("out.txt", "former");
    const std::string broken[] = {
        "\xFF\xFE"
        "a\0b"s, // odd number of bytes
        "\xFF\xFE\x00\xD8"
        "a\0"s,              // high surrogate without its low half
        "\xFE\xFF\xDC\x00"s, // low surrogate alone
        "\xFF\xFE"
        "a\0\x1A\0b\0"s, // U+001A before the end
    };
    for (const std::string &bytes : broken) {
        main().failedFilesWindow().clearFailedFiles();
        EXPECT_EQ(convert(bytes, true), "(listed)") << ::testing::PrintToString(bytes);
        EXPECT_EQ(main().failedFilesWindow().failedFiles().at(0), temp() + "in.txt");
    }
    EXPECT_EQ(readFile(former), "former");
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(FileEncodings, FolderRunConvertsEachFileInItsOwnEncoding) {
    const std::string source = temp() + "src\\", destination = temp() + "dst\\";
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA(destination.c_str(), nullptr);
    writeFile("src\\le.txt", "\xFF\xFE\xE9\0\t\0x\0"s);
    writeFile("src\\be.txt", "\xFE\xFF\x65\xE5\0\t\0x"s);
    writeFile("src\\utf8.txt", "\xC3\xA9\tx");
    writeFile("src\\ansi.txt", "\xE9\xE9\tx");
    writeFile("src\\odd.txt", "\xFF\xFE"
                              "a"s);
    FrmMain &frm = main();
    listTxtFiles(frm, source, destination, "4");
    frm.verifyFolderFiles();
    ASSERT_EQ(frm.failedFilesWindow().failedFileCount(), 1);
    EXPECT_EQ(frm.failedFilesWindow().failedFiles().at(0), source + "odd.txt");
    frm.dropFailedFromWorkList();
    runState(frm).filesInList = controls(frm).workList.listCount();
    frm.convertFolderWithTabStops();
    EXPECT_EQ(readFile(destination + "le.txt"), "\xFF\xFE\xE9\0 \0 \0 \0x\0\r\0\n\0"s);
    EXPECT_EQ(readFile(destination + "be.txt"), "\xFE\xFF\x65\xE5\0 \0 \0x\0\r\0\n"s);
    EXPECT_EQ(readFile(destination + "utf8.txt"), "\xC3\xA9   x\r\n");
    EXPECT_EQ(readFile(destination + "ansi.txt"), "\xE9\xE9  x\r\n");
    EXPECT_FALSE(exists(destination + "odd.txt"));
}

} // namespace
