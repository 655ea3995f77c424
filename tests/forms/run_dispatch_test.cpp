// The run button: which sequence runs, the checks each makes in order and their exact messages, the
// paths that are reset, and the folder run's labels, progress bar and failure window.
#include "form_fixture.h"
#include "raw_registry.h"

#include "clipboard.h"
#include "failed/frm_error.h"
#include "main/frm_main.h"
#include "text_files.h"

namespace {

const UINT warning = MB_OK | MB_ICONEXCLAMATION;
const UINT information = MB_OK | MB_ICONINFORMATION;

const std::string chooseSourceFile = "Browse for a source file first, please!           ";
const std::string defineDestinationFile = "Define a destination file first, please!          ";
const std::string chooseDestinationFile = "Browse for a destination file first, please!      ";
const std::string sourceFileGone =
    "The source file is not available (anymore)...\r\nPick another file, please!       ";
const std::string destinationFolderGone =
    "The destination folder is not available (anymore)...\r\nPick another folder, please!       ";
const std::string chooseSourceFolder = "Browse for a source folder first, please!           ";
const std::string defineDestinationFolder = "Define a destination folder first, please!          ";
const std::string sourceFolderGone =
    "The source folder is not available (anymore)...\r\nPick another folder, please!       ";
const std::string noFiles = "No files available...                               ";

class RunDispatch : public FormTest {
protected:
    FrmMain &single(const std::string &source, const std::string &destination) {
        FrmMain &frm = main();
        controls(frm).singleFileOption.click();
        controls(frm).sourceFileBox.setText(source);
        controls(frm).destinationFileBox.setText(destination);
        return frm;
    }
    FrmMain &folder(const std::string &source, const std::string &destination) {
        FrmMain &frm = main();
        controls(frm).multipleFilesOption.click();
        controls(frm).sourceFolderBox.setText(source);
        controls(frm).destinationFolderBox.setText(destination);
        frm.listWorkFiles();
        return frm;
    }
    void expectOnlyMessage(const std::string &text, const std::string &title, UINT style) {
        const auto shown = desk.messages();
        ASSERT_EQ(shown.size(), 1u) << (shown.empty() ? "" : shown.back().text);
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].title, title);
        EXPECT_EQ(shown[0].style, style);
        EXPECT_TRUE(desk.of("modal").empty());
        desk.calls.clear();
    }
    void press(FrmMain &frm) { controls(frm).runButton.click(); }
    std::string source() { return writeFile("in.txt", "a\tb\r\n"); }
};

TEST_F(RunDispatch, SingleSourceNotChosenIsAskedFor) {
    FrmMain &frm = single("Waiting ...", "Waiting ...");
    press(frm);
    expectOnlyMessage(chooseSourceFile, "Attention!", warning);
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
}

TEST_F(RunDispatch, SingleDestinationPlaceholderAndEmptyHaveTheirOwnMessages) {
    FrmMain &frm = single(source(), "Waiting ...");
    press(frm);
    expectOnlyMessage(defineDestinationFile, "Attention!", warning);
    controls(frm).destinationFileBox.setText("");
    press(frm);
    expectOnlyMessage(chooseDestinationFile, "Attention!", warning);
}

TEST_F(RunDispatch, SingleVanishedSourceIsResetToThePlaceholder) {
    FrmMain &frm = single(temp() + "gone.txt", temp() + "gone folder\\out.txt");
    press(frm);
    expectOnlyMessage(sourceFileGone, "Attention!", warning);
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
    // The destination is checked only on the next run.
    EXPECT_EQ(controls(frm).destinationFileBox.text(), temp() + "gone folder\\out.txt");
    press(frm);
    expectOnlyMessage(chooseSourceFile, "Attention!", warning);
}

TEST_F(RunDispatch, SingleVanishedDestinationFolderIsResetToThePlaceholder) {
    FrmMain &frm = single(source(), temp() + "gone\\out.txt");
    press(frm);
    expectOnlyMessage(destinationFolderGone, "Attention!", warning);
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");
    EXPECT_FALSE(exists(temp() + "gone"));
}

TEST_F(RunDispatch, SingleDestinationThatIsTheSourceUnderAnotherSpellingIsRefused) {
    const std::string path = writeFile("Source File.txt", "a\tb\r\n");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(path.c_str(), shortPath, MAX_PATH), 0u);
    FrmMain &frm = single(path, shortPath);
    controls(frm).fixedSpacesOption.click();
    press(frm);
    expectOnlyMessage("The source and destination file cannot be the same.\r\n"
                      "Please save under another file name..." +
                          std::string(28, ' '),
                      "Attention!", warning);
    EXPECT_EQ(controls(frm).destinationFileBox.text(), shortPath);
    EXPECT_EQ(readFile(path), "a\tb\r\n");
}

TEST_F(RunDispatch, FolderDestinationThatIsTheSourceFolderUnderAnotherSpellingIsRefused) {
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    const std::string path = writeFile("src\\a.txt", "a\tb\r\n");
    FrmMain &frm = folder(temp() + "src", temp() + "SRC\\..\\src\\");
    press(frm);
    expectOnlyMessage("The source and destination locations cannot be the same.\r\n"
                      "Please pick another folder...",
                      "Attention!", warning);
    EXPECT_EQ(readFile(path), "a\tb\r\n");
}

TEST_F(RunDispatch, SingleRunWritesTheDestinationAndMovesTheFocus) {
    FrmMain &frm = single(source(), temp() + "out.txt");
    frm.show();
    press(frm);
    expectOnlyMessage("File is ready!        ", "Quillmere", information);
    EXPECT_EQ(readFile(temp() + "out.txt"), "a       b\r\n");
    EXPECT_EQ(GetFocus(), controls(frm).browseSourceFileButton.hwnd());
    EXPECT_TRUE(taskbar.calls.empty()) << "a small file shows nothing on the taskbar";
}

TEST_F(RunDispatch, SingleRunWithFixedSpacesUsesTheNumberBox) {
    FrmMain &frm = single(writeFile("in.txt", "ab\tc\r\n"), temp() + "out.txt");
    controls(frm).fixedSpacesOption.click();
    controls(frm).spacesBox.setText("3");
    press(frm);
    // The whole text is converted and written with one more CR LF.
    EXPECT_EQ(readFile(temp() + "out.txt"), "ab   c\r\n\r\n");
}

TEST_F(RunDispatch, SingleSourceThatFailsVerificationShowsTheFailedFilesWindowAndWritesNothing) {
    const std::string path = writeFile("binary.txt", "a\x1a\tb\r\n");
    FrmMain &frm = single(path, temp() + "out.txt");
    frm.show();
    controls(frm).runButton.setFocus();
    std::vector<std::string> listed, taskbarWhileShown;
    desk.modalActions.push_back([&](ModalWindow &) {
        listed.push_back(frm.failedFilesWindow().failedFiles().at(0));
        taskbarWhileShown = taskbar.calls;
    });
    press(frm);
    EXPECT_EQ(taskbarWhileShown, std::vector<std::string>{"error"});
    EXPECT_EQ(taskbar.calls, (std::vector<std::string>{"error", "clear"}));
    ASSERT_EQ(desk.calls.size(), 2u);
    EXPECT_EQ(desk.calls[0].kind, "beep");
    EXPECT_EQ(desk.calls[1].kind, "modal");
    EXPECT_EQ(desk.calls[1].text, "frmError");
    EXPECT_EQ(listed, std::vector<std::string>{path});
    EXPECT_FALSE(exists(temp() + "out.txt"));
    EXPECT_EQ(GetFocus(), controls(frm).runButton.hwnd());
}

TEST_F(RunDispatch, EveryRunStartsWithAnEmptyFailedFilesList) {
    FrmMain &frm = single("Waiting ...", "Waiting ...");
    frm.failedFilesWindow().addFailedFile("from an earlier run");
    press(frm);
    EXPECT_EQ(frm.failedFilesWindow().failedFileCount(), 0);
}

TEST_F(RunDispatch, FolderChecksComeInOrderAndResetTheProgressBar) {
    FrmMain &frm = folder("Waiting ...", "Waiting ...");
    controls(frm).progressBar.setMax(10);
    controls(frm).progressBar.setValue(5);
    press(frm);
    expectOnlyMessage(chooseSourceFolder, "Attention!", warning);
    EXPECT_EQ(controls(frm).progressBar.value(), 0);

    controls(frm).sourceFolderBox.setText(temp());
    press(frm);
    expectOnlyMessage(defineDestinationFolder, "Attention!", warning);
    EXPECT_EQ(controls(frm).statusLabel.caption(), "Status: idle ...");
}

TEST_F(RunDispatch, FolderVanishedSourceIsResetAndTheListLeftAlone) {
    writeFile("a.txt", "x");
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    writeFile("src\\a.txt", "x");
    FrmMain &frm = folder(temp() + "src", temp() + "also gone");
    ASSERT_EQ(controls(frm).workList.listCount(), 1);
    removeTree(temp() + "src");
    press(frm);
    expectOnlyMessage(sourceFolderGone, "Attention!", warning);
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), temp() + "also gone");
    EXPECT_EQ(controls(frm).workList.listCount(), 1);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "1 file");
}

TEST_F(RunDispatch, FolderVanishedDestinationIsResetBeforeTheListIsLookedAt) {
    FrmMain &frm = folder(temp(), temp() + "gone");
    ASSERT_EQ(controls(frm).workList.listCount(), 0);
    press(frm);
    expectOnlyMessage(destinationFolderGone, "Attention!", warning);
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
}

TEST_F(RunDispatch, FolderWithoutListedFilesSaysSo) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    FrmMain &frm = folder(temp(), temp() + "out");
    press(frm);
    expectOnlyMessage(noFiles, "Mmm...", information);
    EXPECT_EQ(controls(frm).statusLabel.caption(), "Status: idle ...");
}

TEST_F(RunDispatch, FolderRunDropsFailedFilesCountsTheRestAndShowsTheFailuresAfterConverting) {
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("src\\a.txt", "a\tb\r\n");
    writeFile("src\\b.txt", "x\x1ay\r\n");
    writeFile("src\\c.txt", "\tc\r\n");
    FrmMain &frm = folder(temp() + "src", temp() + "out");
    frm.show();
    ASSERT_EQ(controls(frm).workList.listCount(), 3);
    std::string statusWhileShown;
    std::vector<std::string> taskbarWhileShown;
    desk.modalActions.push_back([&](ModalWindow &) {
        statusWhileShown = controls(frm).statusLabel.caption();
        taskbarWhileShown = taskbar.calls;
    });
    press(frm);

    // The taskbar button follows the bar through both passes, is red while the failures show, and
    // shows nothing once the run is over.
    const std::vector<std::string> shown = {"progress 1/3", "progress 2/3", "progress 3/3",
                                            "progress 1/2", "progress 2/2", "error"};
    EXPECT_EQ(taskbarWhileShown, shown);
    std::vector<std::string> whole = shown;
    whole.push_back("clear");
    EXPECT_EQ(taskbar.calls, whole);
    EXPECT_EQ(controls(frm).workList.listCount(), 2);
    EXPECT_EQ(runState(frm).filesInList, 2);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "2 files");
    EXPECT_EQ(readFile(temp() + "out\\a.txt"), "a       b\r\n");
    EXPECT_EQ(readFile(temp() + "out\\c.txt"), "        c\r\n");
    EXPECT_FALSE(exists(temp() + "out\\b.txt"));
    const auto modal = desk.of("modal");
    ASSERT_EQ(modal.size(), 1u);
    EXPECT_EQ(modal[0].text, "frmError");
    EXPECT_EQ(statusWhileShown, "Converting, please wait ...");
    // The beep comes right before the window, after the conversion's own message.
    ASSERT_GE(desk.calls.size(), 2u);
    EXPECT_EQ(desk.calls[desk.calls.size() - 2].kind, "beep");
    EXPECT_EQ(controls(frm).statusLabel.caption(), "Status: idle ...");
    EXPECT_EQ(controls(frm).progressBar.value(), 0);
    EXPECT_EQ(GetFocus(), controls(frm).browseSourceFileButton.hwnd());
}

TEST_F(RunDispatch, FolderRunListsAFileDeletedAfterListingAsFailedAndConvertsTheRest) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("a.txt", "a\tb\r\n");
    const std::string gone = writeFile("b.txt", "\tb\r\n");
    writeFile("c.txt", "\tc\r\n");
    FrmMain &frm = folder(temp(), temp() + "out");
    ASSERT_EQ(controls(frm).workList.listCount(), 3);
    DeleteFileA(gone.c_str());
    std::vector<std::string> failed;
    desk.modalActions.push_back(
        [&](ModalWindow &) { failed = {frm.failedFilesWindow().failedFiles().at(0)}; });
    press(frm);
    ASSERT_EQ(desk.messages().size(), 1u) << desk.messages().front().text;
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
    EXPECT_EQ(failed, std::vector<std::string>{gone});
    EXPECT_EQ(readFile(temp() + "out\\a.txt"), "a       b\r\n");
    EXPECT_EQ(readFile(temp() + "out\\c.txt"), "        c\r\n");
    EXPECT_FALSE(exists(temp() + "out\\b.txt"));
}

// The passes size the progress bar by the count the run keeps; what a hidden label shows is not read.
TEST_F(RunDispatch, FolderRunSizesItsProgressByTheCountItKeepsNotByTheHiddenLabel) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("a.txt", "a\tb\r\n");
    writeFile("b.txt", "\tb\r\n");
    FrmMain &frm = folder(temp(), temp() + "out");
    controls(frm).hiddenFileCountLabel.setCaption("many");
    press(frm);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
    EXPECT_EQ(controls(frm).progressBar.max(), 2);
    EXPECT_EQ(readFile(temp() + "out\\a.txt"), "a       b\r\n");
    EXPECT_EQ(readFile(temp() + "out\\b.txt"), "        b\r\n");
    EXPECT_EQ(controls(frm).statusLabel.caption(), "Status: idle ...");
}

TEST_F(RunDispatch, FolderRunWithOneFileLeftSaysFile) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("a.txt", "a\tb\r\n");
    writeFile("b.txt", "\x1a\x1a\r\n");
    FrmMain &frm = folder(temp(), temp() + "out");
    press(frm);
    EXPECT_EQ(runState(frm).filesInList, 1);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "1 file");
}

TEST_F(RunDispatch, FolderRunWhoseEveryFileFailsStillReachesTheEnd) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("b.txt", "\x1a\x1a\r\n");
    FrmMain &frm = folder(temp(), temp() + "out");
    press(frm);
    EXPECT_EQ(controls(frm).workList.listCount(), 0);
    EXPECT_EQ(runState(frm).filesInList, 0);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "0 files");
    EXPECT_EQ(desk.of("modal").size(), 1u);
    EXPECT_EQ(controls(frm).statusLabel.caption(), "Status: idle ...");
}

TEST_F(RunDispatch, PressDuringAFolderRunIsIgnored) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) writeFile(name, "\tx\r\n");
    FrmMain &frm = folder(temp(), temp() + "out");
    // Handled while the run lets the window see its messages between files.
    PostMessageA(controls(frm).runButton.hwnd(), BM_CLICK, 0, 0);
    PostMessageA(controls(frm).runButton.hwnd(), BM_CLICK, 0, 0);
    frm.runClicked();
    EXPECT_FALSE(frm.runInProgress());
    EXPECT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
    // Once the run is over the button works again.
    desk.calls.clear();
    press(frm);
    EXPECT_EQ(desk.messages().size(), 1u);
}

// What a window of the test saw when it painted: whether a run was working, and the cursor then.
struct PaintSeen {
    static inline const FrmMain *frm = nullptr;
    static inline int paints = 0;
    static inline bool whileRunning = false;
    static inline bool waitCursor = false;

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        ++paints;
        if (frm->runInProgress()) {
            whileRunning = true;
            waitCursor = GetCursor() == LoadCursorA(nullptr, IDC_WAIT);
        }
        return 0;
    }
};

TEST_F(RunDispatch, WindowPaintsWithTheWaitCursorAndIgnoresASecondPressWhileALargeFileConverts) {
    // 200 MB of source lines (a block of at least 1 MiB of them, 200 times).
    std::string block;
    while (block.size() < 1024 * 1024) block += "\tint value = other;\t// note\r\n";
    const std::string path = writeFile("large.txt", "");
    for (int i = 0; i < 200; ++i) appendToFile(path, block);
    FrmMain &frm = single(path, temp() + "out.txt");
    frm.show();

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &PaintSeen::proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillmerePaintProbe";
    RegisterClassA(&windowClass);
    HWND probe = CreateWindowExA(0, "QuillmerePaintProbe", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                                 frm.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(probe, nullptr);
    PaintSeen::frm = &frm;
    UpdateWindow(probe);
    PaintSeen::paints = 0;
    InvalidateRect(probe, nullptr, TRUE);
    PostMessageA(controls(frm).runButton.hwnd(), BM_CLICK, 0, 0);
    press(frm);

    EXPECT_TRUE(PaintSeen::whileRunning) << PaintSeen::paints << " paints, none during the run";
    EXPECT_TRUE(PaintSeen::waitCursor);
    expectOnlyMessage("File is ready!        ", "Quillmere", information);
    // 36,158 lines of 29 bytes per block, each written as 41: 8 spaces, 18 bytes, 6 spaces, 7, CR LF.
    WIN32_FILE_ATTRIBUTE_DATA written{};
    ASSERT_TRUE(GetFileAttributesExA((temp() + "out.txt").c_str(), GetFileExInfoStandard, &written));
    EXPECT_EQ(written.nFileSizeLow, 296495600u);
    // The bytes of both reads, 209,716,400 each, by thousandths, then nothing.
    ASSERT_GE(taskbar.calls.size(), 3u);
    EXPECT_LE(taskbar.calls.size(), 1002u);
    EXPECT_EQ(taskbar.calls[taskbar.calls.size() - 2], "progress 419432800/419432800");
    EXPECT_EQ(taskbar.calls.back(), "clear");
    DestroyWindow(probe);
}

TEST_F(RunDispatch, ClipboardRunMakesNoPathChecks) {
    FrmMain &frm = main();
    controls(frm).sourceFileBox.setText("");
    controls(frm).destinationFileBox.setText("Waiting ...");
    controls(frm).sourceFolderBox.setText(temp() + "gone");
    {
        OpenClipboardSession session;
        EmptyClipboard();
        setClipboardText("a\tb");
    }
    press(frm);
    expectOnlyMessage("Text is available on the Clipboard!      ", "Quillmere", information);
    EXPECT_EQ(clipboardText().value_or(""), "a       b\r\n");
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "");
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), temp() + "gone");
}

TEST_F(RunDispatch, ClipboardWithoutTextEndsWithoutConvertingOrFailureWindow) {
    FrmMain &frm = main();
    {
        OpenClipboardSession session;
        EmptyClipboard();
    }
    press(frm);
    EXPECT_TRUE(runState(frm).noTextOnClipboard);
    EXPECT_TRUE(desk.of("modal").empty());
    EXPECT_TRUE(desk.of("beep").empty());
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].title, "Too bad...");
    desk.calls.clear();
    // Text put there afterwards is converted by the next press: the flag is the last check's.
    {
        OpenClipboardSession session;
        EmptyClipboard();
        setClipboardText("a\tb");
    }
    press(frm);
    EXPECT_FALSE(runState(frm).noTextOnClipboard);
    expectOnlyMessage("Text is available on the Clipboard!      ", "Quillmere", information);
    EXPECT_EQ(clipboardText().value_or(""), "a       b\r\n");
}

// The same sequence as a file run's failures: a beep, the taskbar button red while the clipboard's
// failure window is up, and nothing converted.
TEST_F(RunDispatch, ClipboardTextThatFailsVerificationShowsItsFailureWindowAndKeepsTheText) {
    FrmMain &frm = main();
    {
        OpenClipboardSession session;
        EmptyClipboard();
        setClipboardText("a\x1a\tb");
    }
    std::vector<std::string> taskbarWhileShown;
    desk.modalActions.push_back([&](ModalWindow &) { taskbarWhileShown = taskbar.calls; });
    press(frm);
    ASSERT_EQ(desk.calls.size(), 2u);
    EXPECT_EQ(desk.calls[0].kind, "beep");
    EXPECT_EQ(desk.calls[1].kind, "modal");
    EXPECT_EQ(desk.calls[1].text, "frmErrorClipboard");
    EXPECT_EQ(taskbarWhileShown, std::vector<std::string>{"error"});
    EXPECT_EQ(taskbar.calls, (std::vector<std::string>{"error", "clear"}));
    EXPECT_EQ(clipboardText().value_or(""), "a\x1a\tb");
}

TEST_F(RunDispatch, NoOperationSelectedRunsNothing) {
    FrmMain &frm = main();
    controls(frm).clipboardOption.setValue(false);
    press(frm);
    EXPECT_TRUE(desk.calls.empty());
}

} // namespace

namespace {

TEST_F(RunDispatch, CloseDuringAFolderRunStopsAfterTheCurrentFileAndClosesWithoutAWord) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) writeFile(name, "\tx\r\n");
    writeFile("d.txt", "\x1a\x1a\r\n");
    FrmMain &frm = folder(temp(), temp() + "out");
    const HWND failed = frm.failedFilesWindow().hwnd();
    // Handled at the first file's progress step, in the checking pass.
    PostMessageA(frm.hwnd(), WM_CLOSE, 0, 0);
    frm.runClicked();
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(IsWindow(failed));
    EXPECT_FALSE(frm.runInProgress());
    EXPECT_TRUE(desk.calls.empty()) << desk.calls.front().kind << ": " << desk.calls.front().text;
    // No conversion pass followed the stopped checking pass.
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        EXPECT_FALSE(exists(temp() + "out\\" + name)) << name;
    EXPECT_EQ(rawGetString(settingsKeyPath, "DestinationM").value_or(""), temp() + "out");
}

} // namespace
