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
        {controls(frm).runButton.hwnd(), "Replace tabs with spaces !", 3165, 7920, 2970, 405},
        {controls(frm).aboutButton.hwnd(), "About", 225, 7920, 1350, 405},
        {controls(frm).exitButton.hwnd(), "Exit", 1635, 7920, 1350, 405},
        {controls(frm).clipboardOption.hwnd(), "Clipboard", 480, 150, 1185, 300},
        {controls(frm).singleFileFrame.hwnd(), "     Single file", 195, 945, 5940, 1830},
        {controls(frm).settingsFrame.hwnd(), "  Settings   ", 210, 6750, 5940, 1050},
        {controls(frm).sourceFileBox.hwnd(), "Waiting ...", 45, 300, 3720, 285},
        {controls(frm).browseDestinationFolderButton.hwnd(), "Browse", 3885, 975, 1035, 330},
        {controls(frm).fixedSpacesOption.hwnd(), "Fixed Number Of Spaces", 345, 345, 2370, 270},
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
    const RECT verify = placeInParent(controls(frm).statusLabel.hwnd());
    EXPECT_EQ(verify.left, twipsToPixels(900, dpi));
    EXPECT_EQ(verify.top, twipsToPixels(3015, dpi));
    EXPECT_GE(verify.right - verify.left, twipsToPixels(960, dpi));
    // Right-aligned: its right edge stays where it was designed.
    const RECT count = placeInParent(controls(frm).fileCountLabel.hwnd());
    EXPECT_EQ(count.right, twipsToPixels(4140, dpi) + twipsToPixels(765, dpi));
    // Loading lists the stored source folder: with none stored, nothing is found.
    EXPECT_EQ(windowText(controls(frm).fileCountLabel.hwnd()), "No files ...");

    controls(frm).statusLabel.setCaption("Converting, please wait ...");
    HDC dc = GetDC(controls(frm).statusLabel.hwnd());
    SelectObject(dc,
                 reinterpret_cast<HFONT>(SendMessageA(controls(frm).statusLabel.hwnd(), WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, "Converting, please wait ...", 27, &text);
    ReleaseDC(controls(frm).statusLabel.hwnd(), dc);
    const RECT grown = placeInParent(controls(frm).statusLabel.hwnd());
    EXPECT_GE(grown.right - grown.left, text.cx);
}

// Labels are transparent; a new caption must not be printed over the old one.
TEST_F(MainWindow, ChangedLabelShowsOnlyItsNewCaption) {
    FrmMain &frm = main();
    frm.show();
    for (Label *label : {&controls(frm).fileCountLabel, &controls(frm).statusLabel}) {
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
    const RECT panel = placeInParent(GetParent(controls(frm).sourceFileBox.hwnd()));
    EXPECT_EQ(panel.left, twipsToPixels(195 + 525, dpi));
    EXPECT_EQ(panel.top, twipsToPixels(945 + 345, dpi));
    const RECT store = placeInParent(controls(frm).hiddenClipboardTextLabel.hwnd());
    EXPECT_EQ(store.top, twipsToPixels(8940, dpi));
    EXPECT_EQ(controls(frm).hiddenClipboardTextLabel.caption(), "lblHDDENTextonClipboard");
    EXPECT_FALSE(controls(frm).hiddenFileCountLabel.visible());
    EXPECT_FALSE(controls(frm).hiddenClipboardTextLabel.visible());
}

TEST_F(MainWindow, TooltipsAreTheDesignTextsWithTheirSpaces) {
    FrmMain &frm = main();
    EXPECT_EQ(controls(frm).sourceFileLabel.toolTipText(), " The one with the tabs ... ");
    EXPECT_EQ(controls(frm).workList.toolTipText(), " The List ...");
    EXPECT_EQ(controls(frm).fixedSpacesOption.toolTipText(),
              " Default = OFF (Disregards indents and original formatting) ");
    EXPECT_EQ(controls(frm).spacesBox.toolTipText(), " Number of spaces ");
}

TEST_F(MainWindow, OpensWithClipboardAndTabStopsSelectedAndEightSpaces) {
    FrmMain &frm = main();
    EXPECT_TRUE(controls(frm).clipboardOption.value());
    EXPECT_FALSE(controls(frm).singleFileOption.value());
    EXPECT_FALSE(controls(frm).multipleFilesOption.value());
    EXPECT_TRUE(controls(frm).tabStopsOption.value());
    EXPECT_FALSE(controls(frm).fixedSpacesOption.value());
    EXPECT_EQ(controls(frm).spacesBox.text(), "8");
    EXPECT_EQ(controls(frm).clipboardOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationOtherColour);
}

TEST_F(MainWindow, ClickingAnOperationTurnsItBlueAndTheOthersBlack) {
    FrmMain &frm = main();
    controls(frm).singleFileOption.click();
    EXPECT_TRUE(controls(frm).singleFileOption.value());
    EXPECT_FALSE(controls(frm).clipboardOption.value());
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).clipboardOption.foreColor(), operationOtherColour);
    EXPECT_EQ(controls(frm).multipleFilesOption.foreColor(), operationOtherColour);
    controls(frm).multipleFilesOption.click();
    EXPECT_FALSE(controls(frm).singleFileOption.value());
    EXPECT_EQ(controls(frm).multipleFilesOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationOtherColour);
    // The settings group is apart: choosing an operation leaves it alone.
    EXPECT_TRUE(controls(frm).tabStopsOption.value());
}

TEST_F(MainWindow, SelectingByProgramKeepsEachGroupToOneChoice) {
    FrmMain &frm = main();
    controls(frm).multipleFilesOption.setValue(true);
    EXPECT_FALSE(controls(frm).clipboardOption.value());
    controls(frm).fixedSpacesOption.setValue(true);
    EXPECT_FALSE(controls(frm).tabStopsOption.value());
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    controls(frm).multipleFilesOption.setValue(false);
    EXPECT_FALSE(controls(frm).clipboardOption.value() || controls(frm).singleFileOption.value() ||
                 controls(frm).multipleFilesOption.value());
}

bool isTabStop(const OptionButton &option) {
    return (GetWindowLongPtrA(option.hwnd(), GWL_STYLE) & WS_TABSTOP) != 0;
}

TEST_F(MainWindow, EachOptionGroupIsOneTabStopOnItsSelectedOption) {
    FrmMain &frm = main();
    EXPECT_TRUE(isTabStop(controls(frm).clipboardOption));
    EXPECT_FALSE(isTabStop(controls(frm).singleFileOption));
    EXPECT_FALSE(isTabStop(controls(frm).multipleFilesOption));
    EXPECT_TRUE(isTabStop(controls(frm).tabStopsOption));
    EXPECT_FALSE(isTabStop(controls(frm).fixedSpacesOption));
    controls(frm).multipleFilesOption.setValue(true);
    controls(frm).fixedSpacesOption.click();
    EXPECT_FALSE(isTabStop(controls(frm).clipboardOption));
    EXPECT_FALSE(isTabStop(controls(frm).singleFileOption));
    EXPECT_TRUE(isTabStop(controls(frm).multipleFilesOption));
    EXPECT_FALSE(isTabStop(controls(frm).tabStopsOption));
    EXPECT_TRUE(isTabStop(controls(frm).fixedSpacesOption));
}

TEST_F(MainWindow, TabVisitsOnlyTheSelectedOptionOfEachGroup) {
    FrmMain &frm = main();
    frm.show();
    controls(frm).singleFileOption.click();
    std::vector<HWND> visited;
    controls(frm).runButton.setFocus();
    for (int press = 0; press < 40 && (visited.empty() || GetFocus() != controls(frm).runButton.hwnd());
         ++press) {
        pressKey(frm, GetFocus(), VK_TAB);
        visited.push_back(GetFocus());
    }
    auto count = [&](const OptionButton &option) {
        return std::count(visited.begin(), visited.end(), option.hwnd());
    };
    EXPECT_EQ(visited.back(), controls(frm).runButton.hwnd()) << "Tab goes round the window";
    EXPECT_EQ(count(controls(frm).singleFileOption), 1);
    EXPECT_EQ(count(controls(frm).clipboardOption), 0);
    EXPECT_EQ(count(controls(frm).multipleFilesOption), 0);
    EXPECT_EQ(count(controls(frm).tabStopsOption), 1);
    EXPECT_EQ(count(controls(frm).fixedSpacesOption), 0);
}

// As in a Windows option group: the arrow keys move within the group, round its ends, and select
// as they go; the operation options drawn over the frames' captions form one group.
TEST_F(MainWindow, ArrowKeysSelectTheNextOptionOfTheGroup) {
    FrmMain &frm = main();
    frm.show();
    controls(frm).clipboardOption.setFocus();
    pressKey(frm, controls(frm).clipboardOption.hwnd(), VK_DOWN);
    EXPECT_EQ(GetFocus(), controls(frm).singleFileOption.hwnd());
    EXPECT_TRUE(controls(frm).singleFileOption.value());
    EXPECT_FALSE(controls(frm).clipboardOption.value());
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationSelectedColour);
    EXPECT_TRUE(isTabStop(controls(frm).singleFileOption));
    pressKey(frm, controls(frm).singleFileOption.hwnd(), VK_RIGHT);
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    pressKey(frm, controls(frm).multipleFilesOption.hwnd(), VK_DOWN);
    EXPECT_EQ(GetFocus(), controls(frm).clipboardOption.hwnd());
    EXPECT_TRUE(controls(frm).clipboardOption.value());
    pressKey(frm, controls(frm).clipboardOption.hwnd(), VK_UP);
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    pressKey(frm, controls(frm).multipleFilesOption.hwnd(), VK_LEFT);
    EXPECT_TRUE(controls(frm).singleFileOption.value());
    EXPECT_EQ(controls(frm).multipleFilesOption.foreColor(), operationOtherColour);
    // The setting group is a group of its own.
    EXPECT_TRUE(controls(frm).tabStopsOption.value());
    controls(frm).tabStopsOption.setFocus();
    pressKey(frm, controls(frm).tabStopsOption.hwnd(), VK_DOWN);
    EXPECT_EQ(GetFocus(), controls(frm).fixedSpacesOption.hwnd());
    EXPECT_TRUE(controls(frm).fixedSpacesOption.value());
    EXPECT_FALSE(controls(frm).tabStopsOption.value());
    EXPECT_TRUE(controls(frm).singleFileOption.value());
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
    for (const Button *button :
         {&controls(frm).runButton, &controls(frm).aboutButton, &controls(frm).exitButton,
          &controls(frm).browseSourceFileButton, &controls(frm).browseDestinationFileButton,
          &controls(frm).browseSourceFolderButton, &controls(frm).browseDestinationFolderButton}) {
        RECT client;
        GetClientRect(button->hwnd(), &client);
        EXPECT_LE(captionWidth(button->hwnd()) + buttonMargin, client.right) << button->caption();
    }
    const int optionMargin = systemMetricAtDpi(SM_CXMENUCHECK, dpi) + 4 * dpi / 96;
    for (const OptionButton *option :
         {&controls(frm).clipboardOption, &controls(frm).singleFileOption, &controls(frm).multipleFilesOption,
          &controls(frm).tabStopsOption, &controls(frm).fixedSpacesOption}) {
        RECT client;
        GetClientRect(option->hwnd(), &client);
        EXPECT_LE(captionWidth(option->hwnd()) + optionMargin, client.right) << option->caption();
    }
    for (const Label *label : {&controls(frm).sourceFileLabel, &controls(frm).destinationFileLabel,
                               &controls(frm).sourceFolderLabel, &controls(frm).destinationFolderLabel,
                               &controls(frm).clipboardLabel, &controls(frm).spacesLabel,
                               &controls(frm).fileCountLabel, &controls(frm).statusLabel}) {
        RECT client;
        GetClientRect(label->hwnd(), &client);
        EXPECT_LE(captionWidth(label->hwnd()), client.right) << label->caption();
    }
    // The designed bitmap face at 96 DPI, a scalable one at every other scale.
    if (dpi == 96)
        EXPECT_EQ(faceOf(controls(frm).singleFileOption.hwnd()), "MS Sans Serif");
    else
        EXPECT_NE(faceOf(controls(frm).singleFileOption.hwnd()), "MS Sans Serif");
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
    const HWND upDown = controls(frm).spacesUpDown.hwnd();
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0)),
              controls(frm).spacesBox.hwnd());
    int lower = 0, upper = 0;
    SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 16);
    EXPECT_EQ(SendMessageA(upDown, UDM_GETPOS32, 0, 0), 8);
}

TEST_F(MainWindow, TabOrderStartsAtTheRunButtonAndSkipsTheNumberBox) {
    FrmMain &frm = main();
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), nullptr, FALSE), controls(frm).runButton.hwnd());
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), controls(frm).runButton.hwnd(), FALSE),
              controls(frm).aboutButton.hwnd());
    EXPECT_FALSE(GetWindowLongPtrA(controls(frm).spacesBox.hwnd(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongPtrA(controls(frm).sourceFileBox.hwnd(), GWL_STYLE) & ES_READONLY);
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
    controls(frm).exitButton.click();
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(MainWindow, PathBoxTooltipFollowsItsText) {
    FrmMain &frm = main();
    controls(frm).destinationFileBox.setText("c:\\some where\\out.txt");
    SendMessageA(controls(frm).destinationFileBox.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(controls(frm).destinationFileBox.toolTipText(), "c:\\some where\\out.txt");
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
