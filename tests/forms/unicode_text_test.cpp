// Names and text outside the ANSI code page: folder runs over names in any script, the clipboard's
// Unicode text, and a file picked under such a name.
#include "engine_support.h"
#include "form_fixture.h"

#include "app_error.h"
#include "clipboard.h"
#include "dialog_answers.h"
#include "failed/frm_error.h"
#include "main/frm_main.h"
#include "registry.h"

#include <algorithm>

namespace {

class UnicodeFolderRun : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        source = temp() + "src\\";
        destination = temp() + "dst\\";
        CreateDirectoryW(wideOf(source).c_str(), nullptr);
        CreateDirectoryW(wideOf(destination).c_str(), nullptr);
    }
    // Lists the "txt" files of the source folder, verifies them and converts them under tab stops of 4.
    void runTabStopsOf4() {
        FrmMain &frm = main();
        listTxtFiles(frm, source, destination, "4");
        frm.verifyFolderFiles();
        frm.convertFolderWithTabStops();
    }
    std::vector<std::string> destinationNames() {
        std::vector<std::string> names = namesIn(destination);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string source, destination;
};

TEST_F(UnicodeFolderRun, NamesInAnyScriptAreListedConvertedAndKeptIntact) {
    writeFile("src\\日本語.txt", "\xE6\x97\xA5\t1\r\n");
    writeFile("src\\файл.txt", "a\tb\r\n");
    writeFile("src\\Grüße.txt", "Gr\xFC\xDF"
                                "e\tx\r\n"); // ANSI text under a name with ANSI letters
    writeFile("src\\plain.txt", "p\tq\r\n");

    runTabStopsOf4();

    EXPECT_EQ(controls(main()).workList.listCount(), 4);
    EXPECT_EQ(main().failedFilesWindow().failedFileCount(), 0);
    EXPECT_EQ(destinationNames(),
              (std::vector<std::string>{"Grüße.txt", "plain.txt", "файл.txt", "日本語.txt"}));
    EXPECT_EQ(readFile(destination + "日本語.txt"), "\xE6\x97\xA5  1\r\n");
    EXPECT_EQ(readFile(destination + "файл.txt"), "a   b\r\n");
    EXPECT_EQ(readFile(destination + "Grüße.txt"), "Gr\xFC\xDF"
                                                   "e   x\r\n");
    EXPECT_EQ(readFile(destination + "plain.txt"), "p   q\r\n");
    EXPECT_TRUE(desk.messages().size() == 1u) << "only the completion message";
}

// A name of 255 characters outside the code page makes a path past MAX_PATH with any folder. Under
// Wine the host's own limit (255 bytes of UTF-8 for a name) allows at most 127 such characters, so
// the path is made that long by a long folder name instead.
TEST_F(UnicodeFolderRun, PathPastMaxPathWithANameOutsideTheCodePageIsConverted) {
    std::string name;
    for (int i = 0; i < 120; ++i) name += "\xD0\xB6"; // U+0436
    name += ".txt";
    source += std::string(140, 's') + "\\";
    destination += std::string(140, 'd') + "\\";
    CreateDirectoryW(wideOf(source).c_str(), nullptr);
    CreateDirectoryW(wideOf(destination).c_str(), nullptr);
    ASSERT_GT(wideOf(source + name).size(), static_cast<size_t>(MAX_PATH));
    writeBytes(source + name, "\tz\r\n");
    ASSERT_EQ(namesIn(source), std::vector<std::string>{name});

    runTabStopsOf4();

    EXPECT_EQ(controls(main()).workList.listCount(), 1);
    EXPECT_EQ(main().failedFilesWindow().failedFileCount(), 0);
    EXPECT_EQ(destinationNames(), std::vector<std::string>{name});
    EXPECT_EQ(readFile(destination + name), "    z\r\n");
}

class UnicodeClipboard : public FormTest {
protected:
    std::wstring convert(const std::wstring &text, bool tabStops, const std::string &spaces = "8") {
        putUnicodeOnClipboard(text);
        FrmMain &frm = main();
        controls(frm).spacesBox.setText(spaces);
        frm.verifyClipboard();
        EXPECT_EQ(frm.failedFilesWindow().failedFileCount(), 0);
        if (tabStops)
            frm.convertClipboardWithTabStops();
        else
            frm.convertClipboardWithFixedSpaces();
        return unicodeOnClipboard();
    }
    static std::string ansiOnClipboard() {
        std::string text = "<no text>";
        OpenClipboard(nullptr);
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char *>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }
};

TEST_F(UnicodeClipboard, TextOutsideTheCodePageStaysAndTabStopsCountDisplayColumns) {
    // Each of the two ideographs is two columns wide: the tab pads from column 4 to 8.
    EXPECT_EQ(convert(L"\u65E5\u672C\ty", true), L"\u65E5\u672C    y\r\n");
    EXPECT_EQ(convert(L"Gr\u00FC\u00DFe\tx", true), L"Gr\u00FC\u00DFe   x\r\n");
    EXPECT_EQ(convert(L"\u0444\u0430\u0439\u043B\t\U0001F600\tz", true, "4"),
              L"\u0444\u0430\u0439\u043B    \U0001F600  z\r\n");
    EXPECT_EQ(convert(L"\u65E5\u672C\ty", false, "2"), L"\u65E5\u672C  y\r\n");
}

TEST_F(UnicodeClipboard, AnsiTextComesOutAsTheSameAnsiBytes) {
    putTextOnClipboard("caf\xE9\t\xA3\x80\tz");
    main().verifyClipboard();
    main().convertClipboardWithTabStops();
    EXPECT_EQ(ansiOnClipboard(), "caf\xE9    \xA3\x80      z\r\n");
}

TEST_F(UnicodeClipboard, HalfASurrogatePairIsRecordedAndTheTextKept) {
    putUnicodeOnClipboard(L"a\xD800\tb");
    main().verifyClipboard();
    ASSERT_EQ(main().failedFilesWindow().failedFileCount(), 1);
    EXPECT_EQ(main().failedFilesWindow().failedFiles().at(0), dataFolder() + "TEMP.txt");
    EXPECT_TRUE(desk.messages().empty());
    EXPECT_EQ(unicodeOnClipboard(), L"a\xD800\tb");
}

TEST_F(UnicodeClipboard, TextRefusedAfterClearingPutsTheFormerUnicodeTextBack) {
    putUnicodeOnClipboard(L"\u65E5\xDC00\tx");
    try {
        replaceClipboardText(main().hwnd(), "new", [](const std::string &) { return false; });
        FAIL() << "a refused text must be reported";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::OutOfMemory);
    }
    EXPECT_EQ(unicodeOnClipboard(), L"\u65E5\xDC00\tx");
}

class UnicodePicker : public FormTest {};

TEST_F(UnicodePicker, FilePickedUnderANonAnsiNameIsStoredLowerCasedAndSurvivesTheSettings) {
    CreateDirectoryW(wideOf(temp() + "ПАПКА").c_str(), nullptr);
    const std::string chosen = writeFile("ПАПКА\\Файл ÄÖ 日本.TXT", "a\tb");
    desk.fileAnswers.push_back(chooseFile(chosen));
    controls(main()).browseSourceFileButton.click();
    std::string folder = temp();
    for (char &c : folder) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(controls(main()).sourceFileBox.text(), folder + "папка\\файл äö 日本.txt");
    EXPECT_TRUE(desk.messages().empty());

    main().saveSettings();
    EXPECT_EQ(registry.getKeyValue("HKEY_CURRENT_USER\\Software\\Hollowcrest\\Quillmere", "SourceS"),
              folder + "папка\\файл äö 日本.txt");
}

} // namespace
