// F1 and the Help command, Esc, the path hints and the number box, as a person at the keyboard
// and the mouse meets them.
#include "dialog_answers.h"
#include "form_fixture.h"

#include "about/frm_about.h"
#include "appdata.h"
#include "error_message.h"
#include "failed/frm_error.h"
#include "handles.h"
#include "main/frm_main.h"
#include "window/modal_loop.h"

#include <utility>
#include <vector>

namespace {

const std::string oops = "The Quillmere readme.txt seems to be missing...";

std::string readmePath() { return programFolder() + "\\readme.txt"; }

// Puts the readme out of the way for the length of a test.
class ReadmeAway {
public:
    ReadmeAway() { MoveFileA(readmePath().c_str(), (readmePath() + ".away").c_str()); }
    ~ReadmeAway() { MoveFileA((readmePath() + ".away").c_str(), readmePath().c_str()); }
};

class HelpAndKeys : public FormTest {};

TEST_F(HelpAndKeys, EachF1OpensTheReadmeInNotepadUnquoted) {
    FrmMain &frm = main();
    ASSERT_TRUE(exists(readmePath()));
    pressKey(frm, controls(frm).runButton.hwnd(), VK_F1);
    pressKey(frm, controls(frm).runButton.hwnd(), VK_F1);
    const auto started = desk.of("start");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].text, "notepad.exe " + readmePath());
    EXPECT_EQ(started[0].style, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(HelpAndKeys, F1WithShiftCtrlOrAltCountsAndOtherKeysDoNothing) {
    FrmMain &frm = main();
    for (int16_t shift : {1, 2, 4, 7}) frm.keyDown(VK_F1, shift);
    EXPECT_EQ(desk.of("start").size(), 4u);
    for (int16_t key : {VK_F2, VK_F12, VK_RETURN, int('H'), 111, 113}) frm.keyDown(key, 0);
    EXPECT_EQ(desk.of("start").size(), 4u);
    EXPECT_TRUE(frm.isLoaded());
}

// The id the Help item of the window's menu sends.
UINT helpMenuId(const FrmMain &frm) { return GetMenuItemID(GetSubMenu(GetMenu(frm.hwnd()), 0), 0); }

TEST_F(HelpAndKeys, HelpMenuOpensTheReadmeToo) {
    FrmMain &frm = main();
    SendMessageA(frm.hwnd(), WM_COMMAND, MAKEWPARAM(helpMenuId(frm), 0), 0);
    ASSERT_EQ(desk.of("start").size(), 1u);
    EXPECT_EQ(desk.of("start")[0].text, "notepad.exe " + readmePath());
}

// Enter goes through the dialog keyboard handling, which turns it into the OK command when the focus is
// not on a push button; the menu must not answer that command.
TEST_F(HelpAndKeys, EnterOnTheFocusedRunButtonRunsAndNeverOpensTheReadme) {
    FrmMain &frm = main();
    controls(frm).singleFileOption.setValue(true);
    frm.show();
    ASSERT_EQ(GetFocus(), controls(frm).runButton.hwnd());
    pressKey(frm, controls(frm).runButton.hwnd(), VK_RETURN);
    EXPECT_TRUE(desk.of("start").empty());
    // Nothing is chosen yet, so the single-file run stops at its first check.
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].title, "Attention!");
}

TEST_F(HelpAndKeys, EnterOnABrowseButtonPressesThatButton) {
    FrmMain &frm = main();
    frm.show();
    controls(frm).browseSourceFileButton.setFocus();
    pressKey(frm, controls(frm).browseSourceFileButton.hwnd(), VK_RETURN);
    EXPECT_EQ(desk.of("file").size(), 1u);
    EXPECT_TRUE(desk.of("start").empty());
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(HelpAndKeys, EnterWithShiftStatesElsewhereDoesNothing) {
    FrmMain &frm = main();
    frm.show();
    for (HWND focused : {controls(frm).singleFileOption.hwnd(), controls(frm).workList.hwnd(),
                         controls(frm).spacesUpDown.hwnd()}) {
        SetFocus(focused);
        for (BYTE modifier : {BYTE(0), BYTE(VK_SHIFT), BYTE(VK_CONTROL)}) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            if (modifier) keys[modifier] = 0x80;
            SetKeyboardState(keys);
            pressKey(frm, focused, VK_RETURN);
            if (modifier) keys[modifier] = 0;
            SetKeyboardState(keys);
        }
    }
    EXPECT_TRUE(desk.calls.empty());
    EXPECT_TRUE(frm.isLoaded());
}

TEST_F(HelpAndKeys, MissingReadmeSaysOops) {
    FrmMain &frm = main();
    {
        ReadmeAway away;
        pressKey(frm, controls(frm).runButton.hwnd(), VK_F1);
    }
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, oops);
    EXPECT_EQ(desk.messages()[0].title, "Oops");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(desk.of("start").empty());
}

TEST_F(HelpAndKeys, ReadmeHeldOpenWithoutSharingSaysOops) {
    FrmMain &frm = main();
    FileHandle held(CreateFileA(readmePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    frm.helpClicked();
    held.close();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].title, "Oops");
    EXPECT_TRUE(desk.of("start").empty());
}

TEST_F(HelpAndKeys, NotepadThatCannotStartGivesTheErrorMessageOfHelp) {
    FrmMain &frm = main();
    desk.startSucceeds = false;
    frm.keyDown(VK_F1, 0);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text,
              standardErrorText(53, "File not found", "frmMain - menuHelp_Click (F1)"));
    EXPECT_EQ(desk.messages()[0].title, "Error");
}

TEST_F(HelpAndKeys, EscPressesExit) {
    FrmMain &frm = main();
    frm.show();
    pressKey(frm, controls(frm).runButton.hwnd(), VK_ESCAPE);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(HelpAndKeys, PathHintShowsWhatBrowseJustPutInTheBox) {
    FrmMain &frm = main();
    // Longer than the 80 characters some tooltip read-backs stop at.
    const std::string chosen = writeFile(std::string(60, 'h') + " Hinted File.txt", "x");
    desk.fileAnswers.push_back(chooseFile(chosen));
    controls(frm).browseSourceFileButton.click();
    SendMessageA(controls(frm).sourceFileBox.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(controls(frm).sourceFileBox.toolTipText(), controls(frm).sourceFileBox.text());
    EXPECT_NE(controls(frm).sourceFileBox.text(), "Waiting ...");
    for (TextBox *box : {&controls(frm).destinationFileBox, &controls(frm).sourceFolderBox,
                         &controls(frm).destinationFolderBox}) {
        SendMessageA(box->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(box->toolTipText(), "Waiting ...");
    }
}

TEST_F(HelpAndKeys, ClickOnTheNumberBoxHandsTheFocusToTheUpDown) {
    FrmMain &frm = main();
    frm.show();
    SendMessageA(controls(frm).spacesBox.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(controls(frm).spacesBox.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(GetFocus(), controls(frm).spacesUpDown.hwnd());
    EXPECT_EQ(controls(frm).spacesBox.text(), "8");
}

// Windows' default for the length of a test: keyboard cues hidden until the keyboard is used. (Wine's
// prefix shows them always.) The setting is changed for this process only, not stored.
class CuesHiddenUntilUsed {
public:
    CuesHiddenUntilUsed() {
        SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &before_, 0);
        changed_ = SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, nullptr, 0) != 0;
    }
    ~CuesHiddenUntilUsed() {
        if (changed_)
            SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(INT_PTR(before_)), 0);
    }
    bool changed() const { return changed_; }

private:
    BOOL before_ = FALSE;
    bool changed_ = false;
};

// The changes of keyboard cues a window asks the system for (WM_CHANGEUISTATE), noted on their way in.
// Windows then shows or hides the cues in the whole window; Wine keeps no such state (WM_QUERYUISTATE
// answers 0 whatever was asked, and every cue shows), so the requests are what a test here can see.
class CueRequests {
public:
    explicit CueRequests(HWND window) : window_(window) {
        current = this;
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CueRequests::procedure)));
    }
    ~CueRequests() {
        if (IsWindow(window_))
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        current = nullptr;
    }
    CueRequests(const CueRequests &) = delete;
    CueRequests &operator=(const CueRequests &) = delete;

    // Each request as (UIS_SET or UIS_CLEAR, the UISF_ flags).
    std::vector<std::pair<WORD, WORD>> seen;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CHANGEUISTATE) current->seen.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return CallWindowProcW(current->original_, window, message, wParam, lParam);
    }
    static inline CueRequests *current = nullptr;
    HWND window_;
    WNDPROC original_;
};

using Request = std::pair<WORD, WORD>;
const Request hideAllCues{UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL};
const Request showFocus{UIS_CLEAR, UISF_HIDEFOCUS};
const Request showAllCues{UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL};

// As Windows does by default, a window opens without its keyboard cues; the first Tab or arrow key
// shows the focus rectangle in the whole window, Alt the access keys too, and they stay.
TEST_F(HelpAndKeys, KeyboardCuesHideAtOpeningAndShowFromTheFirstKey) {
    const CuesHiddenUntilUsed windowsDefault;
    ASSERT_TRUE(windowsDefault.changed());
    FrmMain &frm = main();
    const CueRequests requests(frm.hwnd());
    frm.show();
    EXPECT_EQ(requests.seen, std::vector<Request>{hideAllCues});
    pressKey(frm, controls(frm).runButton.hwnd(), VK_TAB);
    EXPECT_EQ(GetFocus(), controls(frm).aboutButton.hwnd());
    pressKey(frm, controls(frm).aboutButton.hwnd(), VK_RIGHT);
    // Alt alone: its release would open the menu, so only its press is sent.
    PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    pumpAsTheProgramDoes(frm);
    EXPECT_EQ(requests.seen, (std::vector<Request>{hideAllCues, showFocus, showFocus, showAllCues}));
    pressKey(frm, GetFocus(), 'A');
    EXPECT_EQ(requests.seen.size(), 4u) << "other keys leave the cues as they are";
}

TEST_F(HelpAndKeys, TheAboutAndFailedFilesWindowsShowTheFocusFromTheFirstKeyToo) {
    const CuesHiddenUntilUsed windowsDefault;
    ASSERT_TRUE(windowsDefault.changed());
    FrmMain &frm = main();
    frm.show();
    std::vector<Request> aboutRequests;
    desk.modalActions.push_back([&](ModalWindow &window) {
        auto &about = dynamic_cast<FrmAbout &>(window);
        const CueRequests requests(about.hwnd());
        ShowWindow(about.hwnd(), SW_SHOW);
        pressKey(frm, controls(about).okButton.hwnd(), VK_TAB);
        aboutRequests = requests.seen;
    });
    frm.aboutClicked();
    EXPECT_EQ(aboutRequests, (std::vector<Request>{hideAllCues, showFocus}));

    FrmError &failed = frm.failedFilesWindow();
    {
        const CueRequests requests(failed.hwnd());
        ShowWindow(failed.hwnd(), SW_SHOW);
        pressKey(frm, shared(failed).proceedButton.hwnd(), VK_DOWN);
        EXPECT_EQ(requests.seen, (std::vector<Request>{hideAllCues, showFocus}));
    }
    ShowWindow(failed.hwnd(), SW_HIDE);
}

// Where the user asked to see the keyboard cues always, the windows never hide them.
TEST_F(HelpAndKeys, CuesAskedForAlwaysAreNeverHidden) {
    BOOL alwaysShown = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
    if (!alwaysShown) GTEST_SKIP() << "this machine hides keyboard cues until they are used";
    FrmMain &frm = main();
    const CueRequests requests(frm.hwnd());
    frm.show();
    for (const Request &request : requests.seen) EXPECT_NE(request.first, UIS_SET);
}

} // namespace
