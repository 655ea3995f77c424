// Converting the clipboard's text: what ends on the clipboard, what the user is told, and that the
// text is never lost.
#include "engine_support.h"
#include "form_fixture.h"

#include "app_error.h"
#include "clipboard.h"
#include "failed/frm_error.h"
#include "main/frm_main.h"

namespace {

class ClipboardRun : public FormTest {
protected:
    // Verification, then the job of the setting when nothing failed, as a run does.
    std::string convert(const std::string &text, bool tabStops, const std::string &spaces = "8") {
        putTextOnClipboard(text);
        FrmMain &frm = main();
        controls(frm).spacesBox.setText(spaces);
        frm.verifyClipboard();
        EXPECT_EQ(frm.failedFilesWindow().failedFileCount(), 0);
        if (tabStops)
            frm.convertClipboardWithTabStops();
        else
            frm.convertClipboardWithFixedSpaces();
        return clipboardText().value_or("<no text>");
    }
};

TEST_F(ClipboardRun, TabStopsAndFixedNumberEachEndWithOneLineBreak) {
    EXPECT_EQ(convert("a\tb", true), "a       b\r\n");
    EXPECT_EQ(convert("a\tb", false), "a        b\r\n");
    EXPECT_FALSE(runState(main()).noTextOnClipboard);
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text, "Text is available on the Clipboard!      ");
    EXPECT_EQ(desk.messages()[0].title, "Quillmere");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(ClipboardRun, TextEndingInALineBreakGetsOneMoreUnderBothSettings) {
    EXPECT_EQ(convert("x\ty\r\n", true), "x       y\r\n\r\n");
    EXPECT_EQ(convert("x\ty\r\n", false), "x        y\r\n\r\n");
}

TEST_F(ClipboardRun, CarriageReturnLineEndsBecomeFullLineBreaksOnlyUnderTabStops) {
    EXPECT_EQ(convert("a\rb\tc", true), "a\r\nb       c\r\n");
    EXPECT_EQ(convert("a\rb\tc", false), "a\rb        c\r\n");
}

TEST_F(ClipboardRun, NoTemporaryFileStaysAfterASuccessfulRun) {
    convert("\t1", true);
    EXPECT_FALSE(exists(dataFolder() + "TEMP.txt"));
    EXPECT_FALSE(exists(dataFolder() + "TEMP2.txt"));
    convert("\t1", false);
    EXPECT_FALSE(exists(dataFolder() + "TEMP.txt"));
}

TEST_F(ClipboardRun, EmptyClipboardOrOnlyOtherDataSaysTooBadAndDoesNothingElse) {
    emptyClipboard();
    main().verifyClipboard();
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL other = GlobalAlloc(GMEM_MOVEABLE, 4);
    SetClipboardData(RegisterClipboardFormatA("Quillmere test data"), other);
    CloseClipboard();
    main().verifyClipboard();
    ASSERT_EQ(desk.messages().size(), 2u);
    for (const DesktopCall &shown : desk.messages()) {
        EXPECT_EQ(shown.text, "There is no text on the Clipboard.       ");
        EXPECT_EQ(shown.title, "Too bad...");
        EXPECT_EQ(shown.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(runState(main()).noTextOnClipboard);
    EXPECT_EQ(main().failedFilesWindow().failedFileCount(), 0);
    EXPECT_FALSE(exists(dataFolder() + "TEMP.txt"));
}

TEST_F(ClipboardRun, TextHoldingAnEndOfTextMarkIsRecordedAndTheClipboardKept) {
    putTextOnClipboard("a\x1A\tb");
    main().verifyClipboard();
    ASSERT_EQ(main().failedFilesWindow().failedFileCount(), 1);
    EXPECT_EQ(main().failedFilesWindow().failedFiles().at(0), dataFolder() + "TEMP.txt");
    EXPECT_FALSE(runState(main()).noTextOnClipboard);
    EXPECT_TRUE(desk.messages().empty());
    EXPECT_EQ(clipboardText(), "a\x1A\tb");
}

TEST_F(ClipboardRun, NonNumericNumberFailsEachJobAndLeavesTheClipboard) {
    putTextOnClipboard("a\tb");
    main().verifyClipboard();
    controls(main()).spacesBox.setText("?");
    main().convertClipboardWithTabStops();
    main().convertClipboardWithFixedSpaces();
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text, errorText(13, "Type mismatch", "frmMain - replaceTWSfixedClipboard"));
    EXPECT_EQ(desk.messages()[1].text,
              errorText(13, "Type mismatch", "frmMain - replaceTABSwithSPACESClipboard"));
    EXPECT_EQ(clipboardText(), "a\tb");
}

// Windows documents that emptying a clipboard opened without an owner leaves it with none, and that
// setting data then fails; Wine allows it, so the owner itself is what can be checked here.
TEST_F(ClipboardRun, BothSettingsLeaveTheMainWindowAsTheClipboardOwner) {
    for (bool tabStops : {true, false}) {
        putTextOnClipboard("a\tb");
        ASSERT_NE(GetClipboardOwner(), main().hwnd());
        convert("a\tb", tabStops);
        EXPECT_EQ(GetClipboardOwner(), main().hwnd()) << (tabStops ? "tab stops" : "fixed number");
    }
}

TEST_F(ClipboardRun, TextRefusedAfterClearingPutsTheFormerTextBack) {
    putTextOnClipboard("former\ttext");
    HWND owner = main().hwnd();
    try {
        replaceClipboardText(owner, "new", [](const std::string &) { return false; });
        FAIL() << "a refused text must be reported";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::OutOfMemory);
    }
    EXPECT_EQ(clipboardText(), "former\ttext");
    EXPECT_EQ(GetClipboardOwner(), owner);
}

} // namespace
