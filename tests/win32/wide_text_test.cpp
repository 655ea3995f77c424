// The boundary between the program's UTF-8 and the wide calls: the conversions, letter case of paths,
// names found in a folder, settings, long paths. The prefix's code page is Western (1252).
#include "win_fixture.h"

#include <algorithm>

#include "folders.h"
#include "locale_text.h"
#include "raw_registry.h"
#include "registry.h"
#include "text_files.h"
#include "wide_text.h"

namespace {

class WideText : public WinTest {};

TEST_F(WideText, ConversionsKeepEveryCharacterIncludingPairsAndEmptyText) {
    EXPECT_EQ(toWide("Gr\xC3\xBC\xC3\x9F"
                     "e \xE6\x97\xA5 \xF0\x9F\x98\x80"),
              L"Gr\u00FC\u00DFe \u65E5 \U0001F600");
    EXPECT_EQ(toUtf8(L"Gr\u00FC\u00DFe \u65E5 \U0001F600"), "Gr\xC3\xBC\xC3\x9F"
                                                            "e \xE6\x97\xA5 \xF0\x9F\x98\x80");
    EXPECT_EQ(toWide(""), L"");
    EXPECT_EQ(toUtf8(std::wstring_view()), "");
    EXPECT_EQ(toUtf8(static_cast<const wchar_t *>(nullptr)), "");
    EXPECT_EQ(toUtf8(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
}

TEST_F(WideText, UnpairedSurrogatesAreFoundWhereverTheyStand) {
    EXPECT_FALSE(hasUnpairedSurrogate(L"plain \U0001F600 pair"));
    EXPECT_FALSE(hasUnpairedSurrogate(L""));
    EXPECT_TRUE(hasUnpairedSurrogate(L"end \xD83D"));
    EXPECT_TRUE(hasUnpairedSurrogate(L"\xDE00 first"));
    EXPECT_TRUE(hasUnpairedSurrogate(L"\xD83D\xD83D\xDE00")); // two highs, one low
    EXPECT_TRUE(hasUnpairedSurrogate(L"\xD83Dx"));
}

TEST_F(WideText, AnsiTextIsReadAndWrittenInTheCodePageWhereItFits) {
    EXPECT_EQ(ansiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(utf8OrAnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(utf8OrAnsiToUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(ansiWhereItFits("caf\xC3\xA9 \xE2\x82\xAC\r\n"), "caf\xE9 \x80\r\n");
    // Cyrillic has no form in 1252, and a best-fit letter would change the name.
    EXPECT_EQ(ansiWhereItFits("\xD1\x84 x"), "\xD1\x84 x");
    EXPECT_EQ(ansiWhereItFits("\xC4\x80"), "\xC4\x80"); // U+0100 would become a plain A
}

TEST_F(WideText, LowerCaseFoldsEveryScriptAndAnsiLettersAsBefore) {
    EXPECT_EQ(lowerCase("C:\\TEMP\\\xC3\x84\xC3\x96\xC3\x9C \xC5\xA0\xC5\xB8.TXT"),
              "c:\\temp\\\xC3\xA4\xC3\xB6\xC3\xBC \xC5\xA1\xC3\xBF.txt"); // ÄÖÜ ŠŸ -> äöü šÿ
    EXPECT_EQ(lowerCase("\xD0\xA4\xD0\x90\xD0\x99\xD0\x9B \xE6\x97\xA5.Txt"),
              "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB \xE6\x97\xA5.txt"); // ФАЙЛ -> файл, 日 unchanged
    EXPECT_EQ(lowerCase(""), "");
}

TEST_F(WideText, FolderSearchGivesNamesOutsideTheCodePageIntact) {
    writeFile("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "x");
    writeFile("\xD1\x84.txt", "y");
    std::vector<std::string> found;
    forEachOrdinaryFile(temp() + "*.txt", [&](const std::string &name) { found.push_back(name); });
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"\xD1\x84.txt", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt"}));
    EXPECT_TRUE(fileExists(temp() + "\xD1\x84.txt"));
    EXPECT_TRUE(DirExists(temp()));
}

TEST_F(WideText, LongFullPathsGetThePrefixOthersGoAsTheyAre) {
    const std::string folder = "C:\\" + std::string(255, 'f') + "\\";
    EXPECT_EQ(widePath(folder), toWide(folder)); // 259 characters
    EXPECT_EQ(widePath(folder + "a"), L"\\\\?\\" + toWide(folder + "a"));
    EXPECT_EQ(widePath(folder + "ab"), L"\\\\?\\" + toWide(folder + "ab"));
    // Normalized as the system would before the prefix turns its normalization off.
    EXPECT_EQ(widePath(folder + "..\\ab"), L"C:\\ab");
    EXPECT_EQ(widePath(folder + "a/b"), L"\\\\?\\" + toWide(folder + "a\\b"));
    EXPECT_EQ(widePath(folder + "x\\.\\ab"), L"\\\\?\\" + toWide(folder + "x\\ab"));
    // A name that ends in blanks or dots is the name without them, as Explorer sees it.
    EXPECT_EQ(widePath(folder + "out.txt "), L"\\\\?\\" + toWide(folder + "out.txt"));
    EXPECT_EQ(widePath(folder + "out.txt. . "), L"\\\\?\\" + toWide(folder + "out.txt"));
    EXPECT_EQ(widePath(folder + "out.txt..."), L"\\\\?\\" + toWide(folder + "out.txt"));

    // A folder to be made needs the prefix from 248 characters on: CreateDirectoryW keeps room for
    // an 8.3 name inside it.
    const std::string folder247 = "C:\\" + std::string(244, 'd');
    EXPECT_EQ(wideFolderPath(folder247), toWide(folder247));
    EXPECT_EQ(widePath(folder247 + "e"), toWide(folder247 + "e"));
    EXPECT_EQ(wideFolderPath(folder247 + "e"), L"\\\\?\\" + toWide(folder247 + "e"));
    EXPECT_EQ(wideFolderPath(folder247 + "e\\" + std::string(10, 'g')),
              L"\\\\?\\" + toWide(folder247 + "e\\" + std::string(10, 'g'))); // 259
}

// Windows 7 to 10 read "aux.txt", "con.txt" or "com1.c" in any folder as a device, and Wine does too;
// such files are common in trees made on other systems.
TEST_F(WideText, NamesThatWindowsReadsAsDevicesAreOpenedAsFiles) {
    for (const char *device : {"aux", "AUX.txt", "con.txt", "Con .h", "nul.tar.gz", "prn", "COM1.c", "lpt9",
                               "com\xC2\xB9.txt", "conin$", "CONOUT$.log", "C:\\x\\nul:", "dir/aux.txt"})
        EXPECT_TRUE(namesDosDevice(toWide(device))) << device;
    for (const char *file :
         {"auxiliary.txt", "con1.txt", "com10.c", "lpt.c", "xnul", "nul\\a.txt", "com.c", "a.aux", ""})
        EXPECT_FALSE(namesDosDevice(toWide(file))) << file;

    EXPECT_EQ(widePath("C:\\work\\aux.txt"), L"\\\\?\\C:\\work\\aux.txt");
    EXPECT_EQ(widePath("C:\\work/sub\\..\\con.txt"), L"\\\\?\\C:\\work\\con.txt");
    EXPECT_EQ(widePath("\\\\server\\share\\com1.c"), L"\\\\?\\UNC\\server\\share\\com1.c");
    EXPECT_EQ(widePath("C:\\work\\notes.txt"), L"C:\\work\\notes.txt");
    EXPECT_EQ(fullPath("C:\\work\\.\\aux.txt"), L"C:\\work\\aux.txt"); // the system says "\\.\aux"
    // Relative to the working folder.
    ASSERT_TRUE(SetCurrentDirectoryW(toWide(temp()).c_str()));
    EXPECT_EQ(widePath(".\\aux.txt"), L"\\\\?\\" + toWide(temp()) + L"aux.txt");
    EXPECT_EQ(widePath("aux.txt"), L"aux.txt"); // a bare name, as a listing compares it
    EXPECT_EQ(widePath("sub\\nul.c"), L"\\\\?\\" + toWide(temp()) + L"sub\\nul.c");

    // Written, found and read back as the file it is, in the folder it is in.
    writeWholeFile(temp() + "aux.txt", "a\tb");
    EXPECT_EQ(readWholeFile(temp() + "aux.txt", ShareWrite::Allowed), "a\tb");
    std::vector<std::string> found;
    forEachOrdinaryFile(temp() + "*", [&](const std::string &name) { found.push_back(name); });
    EXPECT_EQ(found, std::vector<std::string>{"aux.txt"});
    EXPECT_TRUE(fileExists(temp() + "aux.txt"));
    EXPECT_FALSE(fileExists(temp() + "con.txt"));
    SetCurrentDirectoryW(L"C:\\");
}

TEST_F(WideText, LongNetworkPathsGetTheUncPrefix) {
    const std::string share = "\\\\server\\share\\"; // 15 characters
    const std::string name259 = share + std::string(244, 'u');
    EXPECT_EQ(widePath(name259), toWide(name259));
    EXPECT_EQ(widePath(name259 + "v"), L"\\\\?\\UNC\\server\\share\\" + toWide(std::string(244, 'u') + "v"));
    EXPECT_EQ(widePath(name259 + "vw"),
              L"\\\\?\\UNC\\server\\share\\" + toWide(std::string(244, 'u') + "vw"));
    EXPECT_EQ(widePath(name259 + "v. "),
              L"\\\\?\\UNC\\server\\share\\" + toWide(std::string(244, 'u') + "v"));
    // A path that already has a prefix keeps it as it is.
    const std::string prefixed = "\\\\?\\UNC\\server\\share\\" + std::string(250, 'u') + " ";
    EXPECT_EQ(widePath(prefixed), toWide(prefixed));
}

class WideSettings : public WinTest {
protected:
    const std::string scratch = std::string(settingsKeyPath) + "\\WideText";
    const std::string scratchPath = "HKEY_CURRENT_USER\\" + scratch;
    void SetUp() override {
        WinTest::SetUp();
        rawCreateKey(scratch);
    }
};

TEST_F(WideSettings, TextOutsideTheCodePageIsStoredAndReadBack) {
    const std::string path = "c:\\\xD0\xBF\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0\\\xE6\x97\xA5\xE6\x9C\xAC.txt";
    registry.setKeyValue(scratchPath, "SourceS", path);
    EXPECT_EQ(registry.getKeyValue(scratchPath, "SourceS"), path);
    EXPECT_EQ(rawGet(scratch, "SourceS")->type, static_cast<DWORD>(REG_SZ));
}

TEST_F(WideSettings, AnsiTextStoredByTheNarrowCallsReadsAsTheSameCharacters) {
    rawSetString(scratch, "Old",
                 "c:\\Gr\xFC\xDF"
                 "e\\caf\xE9.txt");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Old"), "c:\\Gr\xC3\xBC\xC3\x9F"
                                                        "e\\caf\xC3\xA9.txt");
    registry.setKeyValue(scratchPath, "New", "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(rawGetString(scratch, "New"), "\xE9t\xE9");
}

// The narrow read took 254 bytes; the wide one takes as many characters, whatever their script.
TEST_F(WideSettings, TheLimitCountsCharacters) {
    std::string fits;
    for (int i = 0; i < 254; ++i) fits += "\xD0\xB6";
    registry.setKeyValue(scratchPath, "Fits", fits);
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Fits"), fits);
    registry.setKeyValue(scratchPath, "Full", fits + "\xD0\xB6");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Full"), "Error");
}

} // namespace
