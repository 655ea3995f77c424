// F1 and the Help command, Esc, the path hints and the number box, as a person at the keyboard
// and the mouse meets them.
#include "dialog_answers.h"
#include "form_fixture.h"

#include "appdata.h"
#include "error_message.h"
#include "handles.h"
#include "main/frm_main.h"
#include "window/modal_loop.h"

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
    pressKey(frm, frm.cmdReplaceTABS.hwnd(), VK_F1);
    pressKey(frm, frm.cmdReplaceTABS.hwnd(), VK_F1);
    const auto started = desk.of("start");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].text, "notepad.exe " + readmePath());
    EXPECT_EQ(started[0].style, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(HelpAndKeys, F1WithShiftCtrlOrAltCountsAndOtherKeysDoNothing) {
    FrmMain &frm = main();
    for (int16_t shift : {1, 2, 4, 7}) frm.Form_KeyDown(VK_F1, shift);
    EXPECT_EQ(desk.of("start").size(), 4u);
    for (int16_t key : {VK_F2, VK_F12, VK_RETURN, int('H'), 111, 113}) frm.Form_KeyDown(key, 0);
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
    frm.optSingle.setValue(true);
    frm.show();
    ASSERT_EQ(GetFocus(), frm.cmdReplaceTABS.hwnd());
    pressKey(frm, frm.cmdReplaceTABS.hwnd(), VK_RETURN);
    EXPECT_TRUE(desk.of("start").empty());
    // Nothing is chosen yet, so the single-file run stops at its first check.
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].title, "Attention!");
}

TEST_F(HelpAndKeys, EnterOnABrowseButtonPressesThatButton) {
    FrmMain &frm = main();
    frm.show();
    frm.cmdGetSourceFile.setFocus();
    pressKey(frm, frm.cmdGetSourceFile.hwnd(), VK_RETURN);
    EXPECT_EQ(desk.of("file").size(), 1u);
    EXPECT_TRUE(desk.of("start").empty());
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(HelpAndKeys, EnterWithShiftStatesElsewhereDoesNothing) {
    FrmMain &frm = main();
    frm.show();
    for (HWND focused : {frm.optSingle.hwnd(), frm.List1.hwnd(), frm.UpDown1.hwnd()}) {
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
        pressKey(frm, frm.cmdReplaceTABS.hwnd(), VK_F1);
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
    frm.menuHelp_Click();
    held.close();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].title, "Oops");
    EXPECT_TRUE(desk.of("start").empty());
}

TEST_F(HelpAndKeys, NotepadThatCannotStartGivesTheErrorMessageOfHelp) {
    FrmMain &frm = main();
    desk.startSucceeds = false;
    frm.Form_KeyDown(VK_F1, 0);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text,
              standardErrorText(53, "File not found", "frmMain - menuHelp_Click (F1)"));
    EXPECT_EQ(desk.messages()[0].title, "Error");
}

TEST_F(HelpAndKeys, EscPressesExit) {
    FrmMain &frm = main();
    frm.show();
    pressKey(frm, frm.cmdReplaceTABS.hwnd(), VK_ESCAPE);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(HelpAndKeys, PathHintShowsWhatBrowseJustPutInTheBox) {
    FrmMain &frm = main();
    // Longer than the 80 characters some tooltip read-backs stop at.
    const std::string chosen = writeFile(std::string(60, 'h') + " Hinted File.txt", "x");
    desk.fileAnswers.push_back(chooseFile(chosen));
    frm.cmdGetSourceFile.click();
    SendMessageA(frm.txtSource.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(frm.txtSource.toolTipText(), frm.txtSource.text());
    EXPECT_NE(frm.txtSource.text(), "Waiting ...");
    for (TextBox *box : {&frm.txtDest, &frm.txtMultipleFilesPath, &frm.txtMultipleFilesDestinationPath}) {
        SendMessageA(box->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(box->toolTipText(), "Waiting ...");
    }
}

TEST_F(HelpAndKeys, ClickOnTheNumberBoxHandsTheFocusToTheUpDown) {
    FrmMain &frm = main();
    frm.show();
    SendMessageA(frm.txtSpacesToUse.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(frm.txtSpacesToUse.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(GetFocus(), frm.UpDown1.hwnd());
    EXPECT_EQ(frm.txtSpacesToUse.text(), "8");
}

} // namespace
