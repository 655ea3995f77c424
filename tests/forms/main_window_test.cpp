// What a person sees of the main window right after it opens, and the operation highlight.
#include "form_fixture.h"

#include "main/frm_main.h"
#include "main/main_layout.h"
#include "window/dpi.h"
#include "window/layout.h"
#include "window/modal_loop.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

class MainWindow : public FormTest {};

void handlePendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// What the window shows in the control's rectangle, read back from the window's drawing.
std::vector<COLORREF> shownPixels(HWND control) {
    handlePendingMessages();
    HWND parent = GetParent(control);
    const RECT place = placeInParent(control);
    HDC dc = GetDC(parent);
    std::vector<COLORREF> pixels;
    for (int y = place.top; y < place.bottom; ++y)
        for (int x = place.left; x < place.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(parent, dc);
    return pixels;
}

// The whole window painted anew, as it is when first shown.
void repaintWholeWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

TEST_F(MainWindow, HasItsCaptionClientSizeAndFixedFrame) {
    FrmMain &frm = main();
    EXPECT_EQ(windowText(frm.hwnd()), "Quillmere");
    RECT client;
    GetClientRect(frm.hwnd(), &client);
    const int dpi = screenDpi();
    EXPECT_EQ(client.right, twipsToPixels(6315, dpi));
    EXPECT_EQ(client.bottom, twipsToPixels(8490, dpi));
    const LONG_PTR style = GetWindowLongPtrA(frm.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_NE(SendMessageA(frm.hwnd(), WM_GETICON, ICON_BIG, 0) + GetClassLongPtrA(frm.hwnd(), GCLP_HICON),
              0);
}

TEST_F(MainWindow, EveryControlStandsAtItsPlaceWithItsCaption) {
    FrmMain &frm = main();
    const int dpi = screenDpi();
    struct Expected {
        HWND control;
        const char *caption;
        int left, top, width, height; // twips in the control's parent window
    };
    const Expected expected[] = {
        {frm.cmdReplaceTABS.hwnd(), "Replace tabs with spaces !", 3165, 7920, 2970, 405},
        {frm.cmdAbout.hwnd(), "About", 225, 7920, 1350, 405},
        {frm.cmdExit.hwnd(), "Exit", 1635, 7920, 1350, 405},
        {frm.optClipboard.hwnd(), "Clipboard", 480, 150, 1185, 300},
        {frm.FrameSingle.hwnd(), "     Single file", 195, 945, 5940, 1830},
        {frm.FrameSettings.hwnd(), "  Settings   ", 210, 6750, 5940, 1050},
        {frm.txtSource.hwnd(), "Waiting ...", 45, 300, 3720, 285},
        {frm.cmdBrowseDir2Save.hwnd(), "Browse", 3885, 975, 1035, 330},
        {frm.optFixedSpaces.hwnd(), "Fixed Number Of Spaces", 345, 345, 2370, 270},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.caption);
        EXPECT_EQ(windowText(e.control), e.caption);
        const RECT rect = placeInParent(e.control);
        EXPECT_EQ(rect.left, twipsToPixels(e.left, dpi));
        EXPECT_EQ(rect.top, twipsToPixels(e.top, dpi));
        EXPECT_EQ(rect.right - rect.left, twipsToPixels(e.width, dpi));
        EXPECT_EQ(rect.bottom - rect.top, twipsToPixels(e.height, dpi));
    }
}

TEST_F(MainWindow, LabelsKeepTheirPlaceAndGrowOnlyToShowTheWholeCaption) {
    FrmMain &frm = main();
    const int dpi = screenDpi();
    const RECT verify = placeInParent(frm.lblVerify.hwnd());
    EXPECT_EQ(verify.left, twipsToPixels(900, dpi));
    EXPECT_EQ(verify.top, twipsToPixels(3015, dpi));
    EXPECT_GE(verify.right - verify.left, twipsToPixels(960, dpi));
    // Right-aligned: its right edge stays where it was designed.
    const RECT count = placeInParent(frm.lblNumberofiles.hwnd());
    EXPECT_EQ(count.right, twipsToPixels(4140, dpi) + twipsToPixels(765, dpi));
    // Loading lists the stored source folder: with none stored, nothing is found.
    EXPECT_EQ(windowText(frm.lblNumberofiles.hwnd()), "No files ...");

    frm.lblVerify.setCaption("Converting, please wait ...");
    HDC dc = GetDC(frm.lblVerify.hwnd());
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(frm.lblVerify.hwnd(), WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, "Converting, please wait ...", 27, &text);
    ReleaseDC(frm.lblVerify.hwnd(), dc);
    const RECT grown = placeInParent(frm.lblVerify.hwnd());
    EXPECT_GE(grown.right - grown.left, text.cx);
}

// Labels are transparent; a new caption must not be printed over the old one.
TEST_F(MainWindow, ChangedLabelShowsOnlyItsNewCaption) {
    FrmMain &frm = main();
    frm.show();
    for (Label *label : {&frm.lblNumberofiles, &frm.lblVerify}) {
        label->setCaption("Converting, please wait ...");
        repaintWholeWindow(frm.hwnd());
        const std::vector<COLORREF> before = shownPixels(label->hwnd());
        label->setCaption("Waiting ...");
        const std::vector<COLORREF> changed = shownPixels(label->hwnd());
        repaintWholeWindow(frm.hwnd());
        const std::vector<COLORREF> fresh = shownPixels(label->hwnd());
        ASSERT_FALSE(fresh.empty());
        EXPECT_NE(fresh, before) << "the two captions must look different for this test to see anything";
        EXPECT_EQ(changed, fresh) << windowText(label->hwnd());
    }
}

TEST_F(MainWindow, PanelsSitInsideTheirFramesAndTheHiddenStoresAreNotShown) {
    FrmMain &frm = main();
    const int dpi = screenDpi();
    const RECT panel = placeInParent(GetParent(frm.txtSource.hwnd()));
    EXPECT_EQ(panel.left, twipsToPixels(195 + 525, dpi));
    EXPECT_EQ(panel.top, twipsToPixels(945 + 345, dpi));
    const RECT store = placeInParent(frm.lblHDDENTextonClipboard.hwnd());
    EXPECT_EQ(store.top, twipsToPixels(8940, dpi));
    EXPECT_EQ(frm.lblHDDENTextonClipboard.caption(), "lblHDDENTextonClipboard");
    EXPECT_FALSE(frm.lblHDDENnrOfFiles.visible());
    EXPECT_FALSE(frm.lblHDDENTextonClipboard.visible());
}

TEST_F(MainWindow, TooltipsAreTheDesignTextsWithTheirSpaces) {
    FrmMain &frm = main();
    EXPECT_EQ(frm.Label1.toolTipText(), " The one with the tabs ... ");
    EXPECT_EQ(frm.List1.toolTipText(), " The List ...");
    EXPECT_EQ(frm.optFixedSpaces.toolTipText(),
              " Default = OFF (Disregards indents and original formatting) ");
    EXPECT_EQ(frm.txtSpacesToUse.toolTipText(), " Number of spaces ");
}

TEST_F(MainWindow, OpensWithClipboardAndTabStopsSelectedAndEightSpaces) {
    FrmMain &frm = main();
    EXPECT_TRUE(frm.optClipboard.value());
    EXPECT_FALSE(frm.optSingle.value());
    EXPECT_FALSE(frm.optMultiple.value());
    EXPECT_TRUE(frm.optFixedTABS.value());
    EXPECT_FALSE(frm.optFixedSpaces.value());
    EXPECT_EQ(frm.txtSpacesToUse.text(), "8");
    EXPECT_EQ(frm.optClipboard.foreColor(), operationSelectedColour);
    EXPECT_EQ(frm.optSingle.foreColor(), operationOtherColour);
}

TEST_F(MainWindow, ClickingAnOperationTurnsItBlueAndTheOthersBlack) {
    FrmMain &frm = main();
    frm.optSingle.click();
    EXPECT_TRUE(frm.optSingle.value());
    EXPECT_FALSE(frm.optClipboard.value());
    EXPECT_EQ(frm.optSingle.foreColor(), operationSelectedColour);
    EXPECT_EQ(frm.optClipboard.foreColor(), operationOtherColour);
    EXPECT_EQ(frm.optMultiple.foreColor(), operationOtherColour);
    frm.optMultiple.click();
    EXPECT_FALSE(frm.optSingle.value());
    EXPECT_EQ(frm.optMultiple.foreColor(), operationSelectedColour);
    EXPECT_EQ(frm.optSingle.foreColor(), operationOtherColour);
    // The settings group is apart: choosing an operation leaves it alone.
    EXPECT_TRUE(frm.optFixedTABS.value());
}

TEST_F(MainWindow, SelectingByProgramKeepsEachGroupToOneChoice) {
    FrmMain &frm = main();
    frm.optMultiple.setValue(true);
    EXPECT_FALSE(frm.optClipboard.value());
    frm.optFixedSpaces.setValue(true);
    EXPECT_FALSE(frm.optFixedTABS.value());
    EXPECT_TRUE(frm.optMultiple.value());
    frm.optMultiple.setValue(false);
    EXPECT_FALSE(frm.optClipboard.value() || frm.optSingle.value() || frm.optMultiple.value());
}

bool isTabStop(const OptionButton &option) {
    return (GetWindowLongPtrA(option.hwnd(), GWL_STYLE) & WS_TABSTOP) != 0;
}

TEST_F(MainWindow, EachOptionGroupIsOneTabStopOnItsSelectedOption) {
    FrmMain &frm = main();
    EXPECT_TRUE(isTabStop(frm.optClipboard));
    EXPECT_FALSE(isTabStop(frm.optSingle));
    EXPECT_FALSE(isTabStop(frm.optMultiple));
    EXPECT_TRUE(isTabStop(frm.optFixedTABS));
    EXPECT_FALSE(isTabStop(frm.optFixedSpaces));
    frm.optMultiple.setValue(true);
    frm.optFixedSpaces.click();
    EXPECT_FALSE(isTabStop(frm.optClipboard));
    EXPECT_FALSE(isTabStop(frm.optSingle));
    EXPECT_TRUE(isTabStop(frm.optMultiple));
    EXPECT_FALSE(isTabStop(frm.optFixedTABS));
    EXPECT_TRUE(isTabStop(frm.optFixedSpaces));
}

TEST_F(MainWindow, TabVisitsOnlyTheSelectedOptionOfEachGroup) {
    FrmMain &frm = main();
    frm.show();
    frm.optSingle.click();
    std::vector<HWND> visited;
    frm.cmdReplaceTABS.setFocus();
    for (int press = 0; press < 40 && (visited.empty() || GetFocus() != frm.cmdReplaceTABS.hwnd()); ++press) {
        pressKey(frm, GetFocus(), VK_TAB);
        visited.push_back(GetFocus());
    }
    auto count = [&](const OptionButton &option) {
        return std::count(visited.begin(), visited.end(), option.hwnd());
    };
    EXPECT_EQ(visited.back(), frm.cmdReplaceTABS.hwnd()) << "Tab goes round the window";
    EXPECT_EQ(count(frm.optSingle), 1);
    EXPECT_EQ(count(frm.optClipboard), 0);
    EXPECT_EQ(count(frm.optMultiple), 0);
    EXPECT_EQ(count(frm.optFixedTABS), 1);
    EXPECT_EQ(count(frm.optFixedSpaces), 0);
}

// As in a Windows option group: the arrow keys move within the group, round its ends, and select
// as they go; the operation options drawn over the frames' captions form one group.
TEST_F(MainWindow, ArrowKeysSelectTheNextOptionOfTheGroup) {
    FrmMain &frm = main();
    frm.show();
    frm.optClipboard.setFocus();
    pressKey(frm, frm.optClipboard.hwnd(), VK_DOWN);
    EXPECT_EQ(GetFocus(), frm.optSingle.hwnd());
    EXPECT_TRUE(frm.optSingle.value());
    EXPECT_FALSE(frm.optClipboard.value());
    EXPECT_EQ(frm.optSingle.foreColor(), operationSelectedColour);
    EXPECT_TRUE(isTabStop(frm.optSingle));
    pressKey(frm, frm.optSingle.hwnd(), VK_RIGHT);
    EXPECT_TRUE(frm.optMultiple.value());
    pressKey(frm, frm.optMultiple.hwnd(), VK_DOWN);
    EXPECT_EQ(GetFocus(), frm.optClipboard.hwnd());
    EXPECT_TRUE(frm.optClipboard.value());
    pressKey(frm, frm.optClipboard.hwnd(), VK_UP);
    EXPECT_TRUE(frm.optMultiple.value());
    pressKey(frm, frm.optMultiple.hwnd(), VK_LEFT);
    EXPECT_TRUE(frm.optSingle.value());
    EXPECT_EQ(frm.optMultiple.foreColor(), operationOtherColour);
    // The setting group is a group of its own.
    EXPECT_TRUE(frm.optFixedTABS.value());
    frm.optFixedTABS.setFocus();
    pressKey(frm, frm.optFixedTABS.hwnd(), VK_DOWN);
    EXPECT_EQ(GetFocus(), frm.optFixedSpaces.hwnd());
    EXPECT_TRUE(frm.optFixedSpaces.value());
    EXPECT_FALSE(frm.optFixedTABS.value());
    EXPECT_TRUE(frm.optSingle.value());
    EXPECT_TRUE(desk.calls.empty());
}

// The caption's width in the control's font, without the access-key ampersand.
int captionWidth(HWND control) {
    std::string caption = windowText(control);
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent.cx;
}

// The face a control's font is drawn in.
std::string faceOf(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return face;
}

void expectEveryCaptionFits(const FrmMain &frm, int dpi) {
    const int buttonMargin = 2 * (systemMetricAtDpi(SM_CXEDGE, dpi) + 3 * dpi / 96);
    for (const Button *button : {&frm.cmdReplaceTABS, &frm.cmdAbout, &frm.cmdExit, &frm.cmdGetSourceFile,
                                 &frm.cmdGetSaveFile, &frm.cmdBrowseDir, &frm.cmdBrowseDir2Save}) {
        RECT client;
        GetClientRect(button->hwnd(), &client);
        EXPECT_LE(captionWidth(button->hwnd()) + buttonMargin, client.right) << button->caption();
    }
    const int optionMargin = systemMetricAtDpi(SM_CXMENUCHECK, dpi) + 4 * dpi / 96;
    for (const OptionButton *option :
         {&frm.optClipboard, &frm.optSingle, &frm.optMultiple, &frm.optFixedTABS, &frm.optFixedSpaces}) {
        RECT client;
        GetClientRect(option->hwnd(), &client);
        EXPECT_LE(captionWidth(option->hwnd()) + optionMargin, client.right) << option->caption();
    }
    for (const Label *label : {&frm.Label1, &frm.Label2, &frm.Label3, &frm.Label4, &frm.Label5, &frm.Label6,
                               &frm.lblNumberofiles, &frm.lblVerify}) {
        RECT client;
        GetClientRect(label->hwnd(), &client);
        EXPECT_LE(captionWidth(label->hwnd()), client.right) << label->caption();
    }
    // The designed bitmap face at 96 DPI, a scalable one at every other scale.
    if (dpi == 96)
        EXPECT_EQ(faceOf(frm.optSingle.hwnd()), "MS Sans Serif");
    else
        EXPECT_NE(faceOf(frm.optSingle.hwnd()), "MS Sans Serif");
}

// At every screen scale (96, 120, 144, 192 and 288 DPI, as a move to a monitor of that scale gives it),
// reached from every other, every caption fits its control: a push button keeps an edge and a little
// air each side, an option its check circle and the gap after it.
TEST_F(MainWindow, EveryCaptionFitsItsControlAtEveryScreenScale) {
    FrmMain &frm = main();
    const int scales[] = {96, 120, 144, 192, 288};
    const RECT suggested{0, 0, 400, 400};
    for (int from : scales)
        for (int to : scales) {
            if (from == to) continue;
            SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to) + " DPI");
            SendMessageW(frm.hwnd(), WM_DPICHANGED, MAKEWPARAM(from, from),
                         reinterpret_cast<LPARAM>(&suggested));
            SendMessageW(frm.hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
            ASSERT_EQ(frm.dpi(), to);
            expectEveryCaptionFits(frm, to);
        }
}

TEST_F(MainWindow, UpDownStepsTheNumberBoxBetweenOneAndSixteen) {
    FrmMain &frm = main();
    const HWND upDown = frm.UpDown1.hwnd();
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0)), frm.txtSpacesToUse.hwnd());
    int lower = 0, upper = 0;
    SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 16);
    EXPECT_EQ(SendMessageA(upDown, UDM_GETPOS32, 0, 0), 8);
}

TEST_F(MainWindow, TabOrderStartsAtTheRunButtonAndSkipsTheNumberBox) {
    FrmMain &frm = main();
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), nullptr, FALSE), frm.cmdReplaceTABS.hwnd());
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), frm.cmdReplaceTABS.hwnd(), FALSE), frm.cmdAbout.hwnd());
    EXPECT_FALSE(GetWindowLongPtrA(frm.txtSpacesToUse.hwnd(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongPtrA(frm.txtSource.hwnd(), GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindow, MenuProjectHoldsHelp) {
    HMENU bar = GetMenu(main().hwnd());
    char text[64] = {};
    GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Project");
    GetMenuStringA(GetSubMenu(bar, 0), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Help\tF1");
}

TEST_F(MainWindow, ExitClosesTheWindow) {
    FrmMain &frm = main();
    frm.cmdExit.click();
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(MainWindow, PathBoxTooltipFollowsItsText) {
    FrmMain &frm = main();
    frm.txtDest.setText("c:\\some where\\out.txt");
    SendMessageA(frm.txtDest.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(frm.txtDest.toolTipText(), "c:\\some where\\out.txt");
}

class MainWindowLifetime : public FormTest {};

// The main window's unload (which ends the message loop) runs also when the object goes first.
TEST_F(MainWindowLifetime, ObjectThatDiesFirstStillUnloadsItsWindow) {
    MSG leftover;
    while (PeekMessageA(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    HWND window = nullptr;
    {
        FrmMain frm(desk, registry, systemMoves, taskbar, accessibility);
        frm.load();
        window = frm.hwnd();
        ASSERT_TRUE(window);
    }
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
