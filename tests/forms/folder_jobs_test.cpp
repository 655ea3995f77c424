// Converting a folder's work list: verification, dropping the failed files, conversion with
// progress, and destinations replaced whole.
#include "engine_support.h"
#include "form_fixture.h"

#include "failed/frm_error.h"
#include "main/frm_main.h"

namespace {

class FolderRun : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        source = temp() + "src\\";
        destination = temp() + "dst\\";
        CreateDirectoryA(source.c_str(), nullptr);
        CreateDirectoryA(destination.c_str(), nullptr);
    }
    std::string put(const std::string &name, const std::string &bytes) {
        return writeFile("src\\" + name, bytes);
    }
    // The work list as the filter builds it for "txt".
    void listSource(const std::string &destinationText) {
        FrmMain &frm = main();
        controls(frm).multipleFilesOption.click();
        controls(frm).extensionBox.clear();
        controls(frm).extensionBox.addItem("txt");
        controls(frm).extensionBox.setListIndex(0);
        controls(frm).sourceFolderBox.setText(source);
        controls(frm).destinationFolderBox.setText(destinationText);
        frm.listWorkFiles();
    }
    // A run as the button makes it, with the bar as it stands when the run says it is done and the
    // failed files as their window lists them.
    void run(bool tabStops) {
        FrmMain &frm = main();
        controls(frm).multipleFilesOption.click();
        if (tabStops)
            controls(frm).tabStopsOption.click();
        else
            controls(frm).fixedSpacesOption.click();
        desk.whileMessageShown = [&](const MessageBoxRequest &) {
            barShown = {controls(frm).progressBar.max(), controls(frm).progressBar.value()};
        };
        desk.modalActions.clear();
        desk.modalActions.push_back(
            [&](ModalWindow &) { failedShown = frm.failedFilesWindow().failedFiles(); });
        controls(frm).runButton.click();
    }
    std::string source, destination;
    std::pair<int, int> barShown{-1, -1}; // maximum and value
    std::vector<std::string> failedShown;
};

// Records the drawing switches a list box is sent (WM_SETREDRAW), in order.
class RedrawSwitches {
public:
    explicit RedrawSwitches(HWND list) : list_(list) {
        current = this;
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RedrawSwitches::procedure)));
    }
    ~RedrawSwitches() {
        SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        current = nullptr;
    }
    std::vector<bool> seen;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETREDRAW) current->seen.push_back(wParam != 0);
        return CallWindowProcA(current->original_, window, message, wParam, lParam);
    }
    static inline RedrawSwitches *current = nullptr;
    HWND list_;
    WNDPROC original_;
};

// The failed-files list stops drawing while the pass fills it; a failure in between must not leave
// it blank for this run and every later one.
TEST_F(FolderRun, FailedFilesListDrawsAgainAfterAPassThatEndsInAnError) {
    const std::string vanishing = put("a.txt", "a\tb");
    put("b.txt", "x");
    listSource(destination);
    ASSERT_TRUE(DeleteFileA(vanishing.c_str()));
    FrmMain &frm = main();
    RedrawSwitches switches(controls(frm.failedFilesWindow()).failedFilesList.hwnd());
    frm.verifyFolderFiles();
    EXPECT_EQ(switches.seen, (std::vector<bool>{false, true}));
}

TEST_F(FolderRun, ConvertsEveryListedFileUnderItsOwnNameAndSaysAllDone) {
    put("a.txt", "a\tb\r\n");
    put("b.txt", "\tx");
    put("c.txt", "");
    listSource(destination.substr(0, destination.size() - 1)); // no trailing backslash
    run(true);
    EXPECT_EQ(readFile(destination + "a.txt"), "a       b\r\n");
    EXPECT_EQ(readFile(destination + "b.txt"), "        x\r\n");
    EXPECT_EQ(readFile(destination + "c.txt"), "");
    EXPECT_EQ(barShown, std::make_pair(3, 3));
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
    EXPECT_EQ(desk.messages()[0].title, "Quillmere");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(namesIn(destination).size(), 3u);
}

TEST_F(FolderRun, FixedNumberOverwritesAnExistingDestinationWithoutAsking) {
    put("a.txt", "a\tb\r\n");
    put("e.txt", "");
    writeFile("dst\\a.txt", "old content");
    listSource(destination);
    controls(main()).spacesBox.setText("4");
    run(false);
    EXPECT_EQ(readFile(destination + "a.txt"), "a    b\r\n\r\n");
    EXPECT_EQ(readFile(destination + "e.txt"), "\r\n");
}

TEST_F(FolderRun, SkipsLockedAndNonTextFilesListingEachOnceAndConvertsTheRest) {
    const std::string locked = put("locked.txt", "\tl");
    const std::string binary = put("binary.txt", "x\x1Ay");
    put("good.txt", "\tg");
    writeFile("dst\\locked.txt", "former");
    listSource(destination);
    {
        const FileHandle editor = holdOpenForWriting(locked);
        run(true);
    }
    std::vector<std::string> listed = failedShown;
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{binary, locked}));
    EXPECT_EQ(controls(main()).workList.listCount(), 1);
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "1 file");
    EXPECT_EQ(readFile(destination + "good.txt"), "        g\r\n");
    EXPECT_EQ(readFile(destination + "locked.txt"), "former");
    EXPECT_FALSE(exists(destination + "binary.txt"));
}

TEST_F(FolderRun, EveryFileFailingLeavesAnEmptyListAndStillSaysAllDone) {
    put("a.txt", "1\x1A"
                 "2");
    put("b.txt", "\x1A\x1A");
    listSource(destination);
    run(true);
    EXPECT_EQ(controls(main()).workList.listCount(), 0);
    EXPECT_EQ(failedShown.size(), 2u);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
    EXPECT_TRUE(namesIn(destination).empty());
}

TEST_F(FolderRun, FailingPartWayKeepsTheFormerDestinationAndLeavesNoTemporaryFile) {
    put("a.txt", "no tabs here\r\n");
    put("b.txt", std::string(100000, 'b') + "\r\n\tb");
    writeFile("dst\\b.txt", "former b");
    listSource(destination);
    controls(main()).spacesBox.setText("0");
    run(true);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text,
              errorText(11, "Division by zero", "frmMain - replaceTWSfixedMultiple"));
    EXPECT_EQ(readFile(destination + "b.txt"), "former b");
    for (const std::string &name : namesIn(destination))
        EXPECT_TRUE(name == "a.txt" || name == "b.txt") << name;
}

TEST_F(FolderRun, NonNumericNumberFailsEachPassUnderItsOwnName) {
    put("a.txt", "\ta");
    listSource(destination);
    controls(main()).spacesBox.setText("abc");
    run(true);
    run(false);
    const auto shown = desk.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, errorText(13, "Type mismatch", "frmMain - replaceTWSfixedMultiple"));
    EXPECT_EQ(shown[1].text, errorText(13, "Type mismatch", "frmMain - replaceTABSwithSPACESMultiple"));
    EXPECT_TRUE(namesIn(destination).empty());
}

// The run's checks refuse a destination that is gone or is the source; these reach the conversion
// itself, as a folder that goes or is renamed between the checks and the conversion would.
TEST_F(FolderRun, DestinationFolderThatIsGoneShowsTheStandardMessage) {
    put("a.txt", "\ta");
    listSource(temp() + "missing");
    main().convertFolderWithFixedSpaces();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text,
              errorText(76, "Path not found", "frmMain - replaceTABSwithSPACESMultiple"));
    EXPECT_EQ(readFile(source + "a.txt"), "\ta");
}

TEST_F(FolderRun, SourceFolderAsItsOwnDestinationLeavesEverySourceAsItWas) {
    put("a.txt", "\ta\r\n");
    listSource(temp() + "dst\\..\\SRC");
    main().convertFolderWithTabStops();
    EXPECT_EQ(readFile(source + "a.txt"), "\ta\r\n");
    EXPECT_EQ(namesIn(source).size(), 1u);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text,
              errorText(75, "Path/File access error", "frmMain - replaceTWSfixedMultiple"));
}

TEST_F(FolderRun, RemoveErroredFilesKeepsTheOthersInTheirOrder) {
    FrmMain &frm = main();
    for (const char *entry :
         {"C:\\d\\1.txt", "C:\\d\\2.txt", "C:\\d\\3.txt", "C:\\d\\\xc3\xa9t\xc3\xa9 \xe6\x96\x87.txt"})
        controls(frm).workList.addItem(entry);
    frm.failedFilesWindow().addFailedFile("C:\\d\\3.txt");
    frm.failedFilesWindow().addFailedFile("C:\\d\\1.txt");
    frm.failedFilesWindow().addFailedFile("c:\\d\\2.txt"); // comparison is exact
    frm.dropFailedFromWorkList();
    ASSERT_EQ(controls(frm).workList.listCount(), 2);
    EXPECT_EQ(controls(frm).workList.list(0), "C:\\d\\2.txt");
    EXPECT_EQ(controls(frm).workList.list(1), "C:\\d\\\xc3\xa9t\xc3\xa9 \xe6\x96\x87.txt");
}

// Counts past 32767: every entry is verified, recorded, counted in the progress and dropped. (Names
// the system refuses stand in for 40,000 files, which take minutes to make under Wine.)
TEST_F(FolderRun, FortyThousandEntriesAreVerifiedAndDroppedWhole) {
    const int entries = 40000;
    FrmMain &frm = main();
    SendMessageA(controls(frm).workList.hwnd(), WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < entries; ++i) controls(frm).workList.addItem(source + std::to_string(i) + "|.txt");
    runState(frm).filesInList = entries;
    controls(frm).sourceFolderBox.setText(source);
    controls(frm).destinationFolderBox.setText(destination);
    run(true);
    ASSERT_EQ(failedShown.size(), static_cast<std::size_t>(entries));
    EXPECT_EQ(failedShown.back(), source + "39999|.txt");
    EXPECT_EQ(barShown, std::make_pair(entries, entries));
    EXPECT_EQ(controls(frm).workList.listCount(), 0);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
}

} // namespace
