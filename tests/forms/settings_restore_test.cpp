// Restoring the main window from the settings key: defaults for an empty store, exact values for a
// filled one, and a window that always opens whatever the store holds.
#include "form_fixture.h"
#include "raw_registry.h"

#include "main/frm_main.h"
#include "window/layout.h"
#include "window/window_place.h"

#include <cmath>
#include <fstream>

namespace {

const std::string key = settingsKeyPath;

class SettingsRestore : public FormTest {
protected:
    void store(const std::string &name, const std::string &text) { rawSetString(key, name, text); }
    static RECT frameOf(FrmMain &frm) {
        RECT frame;
        GetWindowRect(frm.hwnd(), &frame);
        return frame;
    }
    static int pixels(double twips) { return static_cast<int>(std::lround(twips * screenDpi() / 1440.0)); }
    // Centred: the frame's space to the screen's left and right edges differs by a pixel at most.
    static void expectCentred(FrmMain &frm) {
        const RECT frame = frameOf(frm);
        EXPECT_NEAR(frame.left, GetSystemMetrics(SM_CXSCREEN) - frame.right, 1);
        EXPECT_NEAR(frame.top, GetSystemMetrics(SM_CYSCREEN) - frame.bottom, 1);
    }
    static void expectAllPathsWaiting(FrmMain &frm) {
        EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
        EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");
        EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
        EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
    }
};

TEST_F(SettingsRestore, EmptyStoreOpensCentredWithTheDefaultsAndMakesTheKey) {
    FrmMain &frm = main();
    EXPECT_TRUE(rawKeyExists(key));
    expectCentred(frm);
    EXPECT_EQ(controls(frm).spacesBox.text(), "8");
    EXPECT_TRUE(controls(frm).clipboardOption.value());
    EXPECT_FALSE(controls(frm).singleFileOption.value() || controls(frm).multipleFilesOption.value());
    EXPECT_TRUE(controls(frm).tabStopsOption.value());
    EXPECT_FALSE(controls(frm).fixedSpacesOption.value());
    EXPECT_EQ(controls(frm).clipboardOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).progressBar.value(), 0);
    expectAllPathsWaiting(frm);
    EXPECT_TRUE(desk.calls.empty());
}

TEST_F(SettingsRestore, StoredPositionIsTakenWhenStartupIsYes) {
    store("Startup", "True");
    store("Top", "1500");
    store("Left", "3000");
    const RECT frame = frameOf(main());
    EXPECT_EQ(frame.top, pixels(1500));
    EXPECT_EQ(frame.left, pixels(3000));
}

TEST_F(SettingsRestore, PositionIsIgnoredWithoutStartup) {
    store("Top", "1500");
    store("Left", "3000");
    expectCentred(main());
}

TEST_F(SettingsRestore, NegativeEdgeCentresTheWindow) {
    store("Startup", "True");
    store("Top", "-300");
    store("Left", "3000");
    expectCentred(main());
}

TEST_F(SettingsRestore, PositionOffEveryMonitorCentresTheWindow) {
    store("Startup", "True");
    store("Top", "99999999");
    store("Left", "2147483647");
    expectCentred(main());
}

TEST_F(SettingsRestore, PositionWithOnlyACornerOnTheMonitorCentresTheWindow) {
    store("Startup", "True");
    store("Top", "1500");
    // Four pixels of the left edge on the screen, the title bar off it.
    store("Left", std::to_string(static_cast<long>(std::lround(screenWidthTwips())) - 60));
    expectCentred(main());
}

TEST_F(SettingsRestore, PositionWithTheWholeTitleBarOnTheMonitorIsTaken) {
    store("Startup", "True");
    store("Top", "0");
    store("Left", "0");
    const RECT frame = frameOf(main());
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
}

TEST_F(SettingsRestore, NumberOfSpacesStoredAsANumberReadsAsMissing) {
    rawSetDword(key, "SpacesToUse", 0xFFFF);
    EXPECT_EQ(controls(main()).spacesBox.text(), "8");
}

TEST_F(SettingsRestore, LinesOfTheExtensionsFileThatCannotBeExtensionsAreSkipped) {
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    std::ofstream(dataFolder() + "extensions.txt", std::ios::binary)
        << "txt\r\n"
        << std::string(256, 'x') << "\r\na/b\r\nc:d\r\n*\r\nx?y\r\nsub\\dir\r\n"
        << std::string(255, 'y') << "\r\nhtm\r\n";
    FrmMain &frm = main();
    ASSERT_EQ(controls(frm).extensionBox.listCount(), 3);
    EXPECT_EQ(controls(frm).extensionBox.list(0), "txt");
    EXPECT_EQ(controls(frm).extensionBox.list(1), std::string(255, 'y'));
    EXPECT_EQ(controls(frm).extensionBox.list(2), "htm");
    EXPECT_TRUE(desk.messages().empty()) << desk.messages().front().text;
}

TEST_F(SettingsRestore, UnusableEdgeLeavesThatEdgeAndTakesTheOther) {
    store("Startup", "True");
    store("Top", "high");
    store("Left", "750");
    FrmMain &frm = main();
    EXPECT_EQ(frameOf(frm).left, pixels(750));
}

TEST_F(SettingsRestore, NumberBoxKeepsTwoCharactersAndTurnsErrorIntoEight) {
    struct Case {
        const char *stored;
        const char *shown;
    };
    for (const Case c :
         {Case{"12", "12"}, Case{"123", "12"}, Case{"4", "4"}, Case{"Error", "8"}, Case{"Er9", "8"}}) {
        SCOPED_TRACE(c.stored);
        store("SpacesToUse", c.stored);
        FrmMain frm(desk, registry, systemMoves, taskbar, accessibility);
        frm.setQuitOnUnload(false);
        frm.load();
        EXPECT_EQ(controls(frm).spacesBox.text(), c.shown);
    }
}

TEST_F(SettingsRestore, ConsistentOptionsComeBackExactly) {
    store("OperationClip", "False");
    store("OperationSingle", "True");
    store("OperationMultiple", "False");
    store("FixedTABS", "False");
    store("FixedSpaces", "True");
    FrmMain &frm = main();
    EXPECT_FALSE(controls(frm).clipboardOption.value());
    EXPECT_TRUE(controls(frm).singleFileOption.value());
    EXPECT_FALSE(controls(frm).multipleFilesOption.value());
    EXPECT_FALSE(controls(frm).tabStopsOption.value());
    EXPECT_TRUE(controls(frm).fixedSpacesOption.value());
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).clipboardOption.foreColor(), operationOtherColour);
}

TEST_F(SettingsRestore, AllOperationsNoLeavesNoneSelected) {
    store("OperationClip", "False");
    store("OperationSingle", "false");
    store("OperationMultiple", "0");
    FrmMain &frm = main();
    EXPECT_FALSE(controls(frm).clipboardOption.value() || controls(frm).singleFileOption.value() ||
                 controls(frm).multipleFilesOption.value());
    EXPECT_EQ(controls(frm).clipboardOption.foreColor(), operationOtherColour);
}

TEST_F(SettingsRestore, InconsistentOptionsEndWithTheLastYesOfEachGroup) {
    store("OperationClip", "False");
    store("OperationSingle", "True");
    store("OperationMultiple", "True");
    store("FixedTABS", "TRUE");
    store("FixedSpaces", "-1");
    FrmMain &frm = main();
    EXPECT_FALSE(controls(frm).singleFileOption.value());
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    EXPECT_FALSE(controls(frm).tabStopsOption.value());
    EXPECT_TRUE(controls(frm).fixedSpacesOption.value());
}

TEST_F(SettingsRestore, UnusableOptionValuesKeepTheDesignState) {
    store("OperationClip", "Error");
    store("OperationSingle", "yes");
    store("OperationMultiple", "");
    store("FixedTABS", "maybe");
    rawSetDword(key, "FixedSpaces", 1);
    FrmMain &frm = main();
    EXPECT_TRUE(controls(frm).clipboardOption.value());
    EXPECT_FALSE(controls(frm).singleFileOption.value() || controls(frm).multipleFilesOption.value());
    EXPECT_TRUE(controls(frm).tabStopsOption.value());
    EXPECT_FALSE(controls(frm).fixedSpacesOption.value());
}

TEST_F(SettingsRestore, ValuesOfOtherTypesNeverStopTheWindowFromOpening) {
    for (const char *name :
         {"Startup", "Top", "Left", "OperationClip", "OperationSingle", "OperationMultiple", "FixedTABS",
          "FixedSpaces", "LastExtension", "SourceS", "DestinationS", "SourceM", "DestinationM"})
        rawSetDword(key, name, 7);
    FrmMain &frm = main();
    ASSERT_TRUE(frm.isLoaded());
    expectCentred(frm);
    EXPECT_TRUE(controls(frm).clipboardOption.value());
    EXPECT_TRUE(controls(frm).tabStopsOption.value());
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
    // The work list reports the folder name it cannot search, as it does for any bad name.
    for (const DesktopCall &call : desk.calls)
        EXPECT_NE(call.text.find("frmMain - countFILES"), std::string::npos) << call.text;
}

TEST_F(SettingsRestore, EmptyValuesNeverStopTheWindowFromOpening) {
    for (const char *name :
         {"Startup", "Top", "Left", "OperationClip", "OperationSingle", "OperationMultiple", "FixedTABS",
          "FixedSpaces", "LastExtension", "SourceS", "SourceM", "DestinationM"})
        store(name, "");
    FrmMain &frm = main();
    ASSERT_TRUE(frm.isLoaded());
    expectCentred(frm);
    EXPECT_TRUE(controls(frm).clipboardOption.value());
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
    // An empty folder text names the current drive's root, which exists: it stays as stored.
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "");
    EXPECT_TRUE(desk.calls.empty());
}

TEST_F(SettingsRestore, UsablePathsComeBackAsStored) {
    const std::string source = writeFile("in.txt", "a\tb\r\n");
    store("SourceS", source);
    store("DestinationS", temp() + "not yet written.txt");
    store("DestinationM", temp());
    FrmMain &frm = main();
    EXPECT_EQ(controls(frm).sourceFileBox.text(), source);
    EXPECT_EQ(controls(frm).destinationFileBox.text(), temp() + "not yet written.txt");
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), temp());
}

TEST_F(SettingsRestore, VanishedOrUnreadablePathsShowThePlaceholder) {
    store("SourceS", temp() + "deleted.txt");
    store("DestinationS", temp() + "gone\\out.txt");
    store("DestinationM", temp() + "gone");
    store("SourceM", std::string(300, 'x')); // too long to read: "Error"
    expectAllPathsWaiting(main());
}

TEST_F(SettingsRestore, DestinationFolderThatRefusesWritingShowsThePlaceholder) {
    // The Unix /sys folder exists and refuses new files to every user.
    store("DestinationM", "Z:\\sys");
    EXPECT_EQ(controls(main()).destinationFolderBox.text(), "Waiting ...");
}

TEST_F(SettingsRestore, WriteProbeLeavesAnExistingTestFileByteForByte) {
    const std::string bytes = "keep\tthis\r\n\x1a tail";
    const std::string probe = writeFile("test.txt", bytes);
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    store("DestinationM", temp());
    EXPECT_EQ(controls(main()).destinationFolderBox.text(), temp());
    EXPECT_EQ(readFile(probe), bytes);
    EXPECT_EQ(GetFileAttributesA(probe.c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((temp() + "*").c_str(), &found);
    int files = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(files, 1);
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsRestore, StoredExtensionIsSelectedAndItsFilesListed) {
    writeFile("a.log", "x");
    writeFile("b.txt", "y");
    std::ofstream(dataFolder() + "extensions.txt", std::ios::binary) << "txt\r\nhtm\r\nlog\r\n";
    store("LastExtension", "2");
    store("SourceM", temp());
    FrmMain &frm = main();
    EXPECT_EQ(controls(frm).extensionBox.listIndex(), 2);
    ASSERT_EQ(controls(frm).workList.listCount(), 1);
    EXPECT_EQ(controls(frm).workList.list(0), temp() + "a.log");
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "1 file");
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), temp());
}

TEST_F(SettingsRestore, UnusableExtensionIndexSelectsTheFirstEntry) {
    for (const char *stored : {"9", "99999999999", "-1", "Error", "1.5", ""}) {
        SCOPED_TRACE(stored);
        std::ofstream(dataFolder() + "extensions.txt", std::ios::binary) << "txt\r\nlog\r\n";
        store("LastExtension", stored);
        FrmMain frm(desk, registry, systemMoves, taskbar, accessibility);
        frm.setQuitOnUnload(false);
        frm.load();
        EXPECT_EQ(controls(frm).extensionBox.listIndex(), 0);
        EXPECT_EQ(controls(frm).extensionBox.text(), "txt");
    }
}

TEST_F(SettingsRestore, FirstStartSelectsTheFirstBuiltInExtension) {
    FrmMain &frm = main();
    ASSERT_EQ(controls(frm).extensionBox.listCount(), 2);
    EXPECT_EQ(controls(frm).extensionBox.listIndex(), 0);
}

TEST_F(SettingsRestore, SourceFolderWithoutFilesOfTheExtensionShowsThePlaceholder) {
    writeFile("a.log", "x");
    store("SourceM", temp());
    FrmMain &frm = main();
    EXPECT_EQ(controls(frm).workList.listCount(), 0);
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
}

} // namespace
