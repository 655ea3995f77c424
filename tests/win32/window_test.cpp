// Windows of the window layer: the object behind a window from its first messages, the fonts the
// windows are designed for, and a window laid out again when its monitor's scale changes.
#include "win_fixture.h"

#include "handles.h"
#include "wide_text.h"
#include "window/base_window.h"
#include "window/contrast.h"
#include "window/control_colours.h"
#include "window/controls.h"
#include "window/dpi.h"
#include "window/layout.h"
#include "window/tooltips.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

int CALLBACK noteFamilyFound(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) {
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

// The prefix the tests run in has Wine's own fonts: the windows are designed for "MS Sans Serif",
// and Wine draws the title-bar buttons with "Marlett".
TEST(TestMachineFonts, GdiFindsWinesOwnFontsByName) {
    HDC screen = GetDC(nullptr);
    for (const wchar_t *family : {L"MS Sans Serif", L"Marlett", L"Tahoma", L"System"}) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(wanted.lfFaceName, family, LF_FACESIZE);
        bool found = false;
        EnumFontFamiliesExW(screen, &wanted, noteFamilyFound, reinterpret_cast<LPARAM>(&found), 0);
        EXPECT_TRUE(found) << toUtf8(family);
    }
    ReleaseDC(nullptr, screen);
}

// The face GDI gives for a font, and the height of its characters in pixels.
struct ChosenFace {
    std::string face;
    int characterHeight;
};
ChosenFace chosenFace(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return {toUtf8(face), static_cast<int>(metrics.tmHeight - metrics.tmInternalLeading)};
}

// The windows measure their captions in the font they are drawn with: at 96 DPI that font is the
// designed one, not a substitute GDI picked for the name: 8 points are 11 pixels of character height.
TEST(TestMachineFonts, TheDialogFontIsMsSansSerifItself) {
    GdiObject font(createDialogFont(8, 96));
    const ChosenFace chosen = chosenFace(static_cast<HFONT>(font.get()));
    EXPECT_EQ(chosen.face, "MS Sans Serif");
    EXPECT_EQ(chosen.characterHeight, 11);
}

// "MS Sans Serif" is a bitmap font with a few sizes: at other scales GDI would give the nearest size it
// has. There the windows take the scalable "Microsoft Sans Serif" (Windows has it; Wine has not) or,
// where it is missing, the system's message font (Tahoma under Wine), at exactly 8 points.
TEST(TestMachineFonts, AtEveryOtherScaleTheDialogFontIsScalableAndExactlyEightPoints) {
    bool microsoftSansSerif = false;
    {
        HDC screen = GetDC(nullptr);
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(wanted.lfFaceName, L"Microsoft Sans Serif", LF_FACESIZE);
        EnumFontFamiliesExW(screen, &wanted, noteFamilyFound, reinterpret_cast<LPARAM>(&microsoftSansSerif),
                            0);
        ReleaseDC(nullptr, screen);
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const std::string expectedFace =
        microsoftSansSerif ? "Microsoft Sans Serif" : toUtf8(metrics.lfMessageFont.lfFaceName);
    EXPECT_NE(expectedFace, "MS Sans Serif");
    const std::pair<int, int> heights[] = {{120, 13}, {144, 16}, {192, 21}, {288, 32}};
    for (const auto &[dpi, height] : heights) {
        GdiObject font(createDialogFont(8, dpi));
        const ChosenFace chosen = chosenFace(static_cast<HFONT>(font.get()));
        EXPECT_EQ(chosen.face, expectedFace) << dpi;
        EXPECT_EQ(chosen.characterHeight, height) << dpi;
        GdiObject bold(createDialogFont(9.75, dpi, true));
        EXPECT_EQ(chosenFace(static_cast<HFONT>(bold.get())).face, expectedFace) << dpi;
    }
}

// A window designed 4815 x 3600 twips that notes what its object saw. (It fits the test screen of
// 1280 x 1024 pixels at 192 DPI; a window is never made larger than the screen.)
class RecordingWindow final : public BaseWindow {
public:
    void open(int dpi) {
        createWindow("QuillmereRecordingWindow", "Recording", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0,
                     4815, 3600, nullptr, dpi);
    }
    std::vector<UINT> seen;
    HWND windowAtCreate = nullptr;
    std::vector<int> layouts;

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_CREATE) windowAtCreate = hwnd();
        return BaseWindow::handleMessage(message, wParam, lParam);
    }
    void layOutAtDpi(int dpi) override { layouts.push_back(dpi); }
};

SIZE clientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

void changeDpi(HWND window, int dpi, const RECT &suggested) {
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST(WindowObject, ItsCreationMessagesReachTheObjectWithTheWindowKnown) {
    RecordingWindow window;
    window.open(96);
    ASSERT_TRUE(window.hwnd());
    const auto nccreate = std::find(window.seen.begin(), window.seen.end(), WM_NCCREATE);
    const auto create = std::find(window.seen.begin(), window.seen.end(), WM_CREATE);
    ASSERT_NE(nccreate, window.seen.end());
    ASSERT_NE(create, window.seen.end());
    EXPECT_LT(nccreate, create);
    EXPECT_EQ(window.windowAtCreate, window.hwnd());
    EXPECT_EQ(windowText(window.hwnd()), "Recording"); // WM_NCCREATE still went on to the system
}

TEST(WindowScale, ANewDpiPutsTheWindowAtTheSuggestedPlaceWithItsDesignedClientArea) {
    RecordingWindow window;
    window.open(96);
    EXPECT_EQ(clientSize(window.hwnd()).cx, 321); // 4815 twips, 15 a pixel
    EXPECT_EQ(clientSize(window.hwnd()).cy, 240);
    EXPECT_EQ(BaseWindow::dpiOf(window.hwnd()), 96);

    changeDpi(window.hwnd(), 144, {40, 30, 740, 930});
    RECT frame;
    GetWindowRect(window.hwnd(), &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
    EXPECT_EQ(clientSize(window.hwnd()).cx, 482); // 481.5 pixels, rounded up
    EXPECT_EQ(clientSize(window.hwnd()).cy, 360);
    EXPECT_EQ(window.dpi(), 144);
    EXPECT_EQ(BaseWindow::dpiOf(window.hwnd()), 144);

    // A suggestion far too small still gives the design's client area.
    changeDpi(window.hwnd(), 192, {0, 0, 10, 10});
    EXPECT_EQ(clientSize(window.hwnd()).cx, 642);
    EXPECT_EQ(clientSize(window.hwnd()).cy, 480);

    changeDpi(window.hwnd(), 96, {5, 6, 500, 600});
    EXPECT_EQ(clientSize(window.hwnd()).cx, 321);
    EXPECT_EQ(clientSize(window.hwnd()).cy, 240);
    EXPECT_EQ(window.layouts, (std::vector<int>{144, 192, 96}));
}

// Before it offers the rectangle, Windows 10 asks the window for its size at the new DPI: at the DPI
// it has, that is the size it has; at a larger one, at least the design's client area.
TEST(WindowScale, TheSizeAskedForAtANewDpiHoldsTheDesignedClientArea) {
    constexpr UINT getDpiScaledSize = 0x02E4;
    RecordingWindow window;
    window.open(screenDpi());
    RECT frame;
    GetWindowRect(window.hwnd(), &frame);
    SIZE asked{};
    EXPECT_TRUE(SendMessageW(window.hwnd(), getDpiScaledSize, screenDpi(), reinterpret_cast<LPARAM>(&asked)));
    EXPECT_EQ(asked.cx, frame.right - frame.left);
    EXPECT_EQ(asked.cy, frame.bottom - frame.top);
    EXPECT_TRUE(SendMessageW(window.hwnd(), getDpiScaledSize, 192, reinterpret_cast<LPARAM>(&asked)));
    EXPECT_GT(asked.cx, 642);
    EXPECT_GT(asked.cy, 480);
    EXPECT_TRUE(window.layouts.empty()) << "asking changes nothing";
}

using K = ControlKind;

constexpr ControlRow sampleTable[] = {
    {"cmdGo", K::Button, "Go", 300, 150, 1500, 405, "", 0, nullptr, layout::GroupStart, 0},
    {"Frame1", K::Frame, "Frame", 150, 700, 4000, 1500, "", 1, nullptr, 0, 0},
    {"pic1", K::Panel, "", 200, 300, 3500, 1000, "Frame1", 2, nullptr, 0, 0},
    {"lblName", K::Label, "A caption much wider than its label", 45, 15, 600, 195, "pic1", 3, nullptr, 0, 0},
    {"cboKind", K::DropDownList, "", 45, 400, 720, 315, "pic1", 4, nullptr, 0, 0},
    {"txtPath", K::TextBox, "c:\\", 900, 400, 2000, 285, "pic1", 5, nullptr, 0, 0},
    {"lblBig", K::Label, "Big", 150, 2400, 2000, 400, "", 6, nullptr, 0, 0},
};
constexpr ControlFont sampleFonts[] = {{"lblBig", 13.5, true}};

// A window made from the sample table, laid out again at each new DPI.
class TableWindow final : public BaseWindow {
public:
    void open(int dpi) {
        createWindow("QuillmereTableWindow", "Table", WS_OVERLAPPED | WS_CAPTION, 0, 4500, 3000, nullptr,
                     dpi);
        tooltips_.attach(hwnd());
        controls.create(hwnd(), sampleTable, tooltips_, dpi, sampleFonts);
    }
    TableControls controls;

private:
    void layOutAtDpi(int dpi) override { controls.layOut(dpi); }
    Tooltips tooltips_;
};

LONG fontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// A window moved to a monitor of another scale looks as one opened there: every control at the same
// place, of the same size, in a font of the same height.
TEST(WindowScale, ControlsLaidOutAtANewDpiStandAsControlsMadeAtThatDpi) {
    TableWindow moved;
    moved.open(96);
    for (int dpi : {120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        changeDpi(moved.hwnd(), dpi, {0, 0, 100, 100});
        TableWindow opened;
        opened.open(dpi);
        EXPECT_EQ(clientSize(moved.hwnd()).cx, clientSize(opened.hwnd()).cx);
        for (const ControlRow &row : sampleTable) {
            SCOPED_TRACE(row.name);
            const RECT was = placeInParent(moved.controls.at(row.name));
            const RECT is = placeInParent(opened.controls.at(row.name));
            EXPECT_EQ(was.left, is.left);
            EXPECT_EQ(was.top, is.top);
            EXPECT_EQ(was.right, is.right);
            EXPECT_EQ(was.bottom, is.bottom);
            EXPECT_EQ(fontHeight(moved.controls.at(row.name)), fontHeight(opened.controls.at(row.name)));
        }
    }
}

TEST(WindowScale, ControlsAt144DpiStandWhereTheirTwipsSay) {
    TableWindow window;
    window.open(96);
    changeDpi(window.hwnd(), 144, {0, 0, 100, 100});
    const RECT go = placeInParent(window.controls.at("cmdGo"));
    EXPECT_EQ(go.left, 30);
    EXPECT_EQ(go.top, 15);
    EXPECT_EQ(go.right, 180);
    EXPECT_EQ(go.bottom, 56); // 40.5 pixels high, rounded up
    // A panel in a frame stands on the window, moved by the frame's place.
    const RECT panel = placeInParent(window.controls.at("pic1"));
    EXPECT_EQ(panel.left, 35);
    EXPECT_EQ(panel.top, 100);
    const RECT name = placeInParent(window.controls.at("lblName"));
    EXPECT_EQ(name.left, 5);
    EXPECT_EQ(name.top, 2);
    EXPECT_GT(name.right - name.left, 60) << "widened to its caption";
    EXPECT_EQ(fontHeight(window.controls.at("cmdGo")), -16);
    EXPECT_EQ(fontHeight(window.controls.at("lblBig")), -27);
}

// The contrast ratios of WCAG 2, worked out by hand from its luminance formula.
TEST(TextContrast, RatiosOfKnownColourPairs) {
    EXPECT_NEAR(contrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(RGB(255, 255, 255), RGB(0, 0, 0)), 21.0, 1e-9) << "either order";
    EXPECT_NEAR(contrastRatio(RGB(240, 240, 240), RGB(240, 240, 240)), 1.0, 1e-9);
    EXPECT_NEAR(contrastRatio(RGB(0, 0, 255), RGB(0, 0, 0)), 2.444, 0.001); // blue on black
    EXPECT_NEAR(contrastRatio(RGB(0, 0, 192), RGB(0, 0, 0)), 1.761, 0.001); // dark blue on black
    EXPECT_NEAR(contrastRatio(RGB(192, 0, 0), RGB(0, 0, 0)), 3.241, 0.001); // dark red on black
    EXPECT_NEAR(contrastRatio(RGB(128, 128, 128), RGB(255, 255, 255)), 3.949, 0.001);
    EXPECT_NEAR(contrastRatio(RGB(0, 0, 255), RGB(255, 255, 255)), 8.592, 0.001);
}

// A designed colour stays where it reads well; where it would not, or under high contrast, the
// system colour of its role takes its place.
TEST(TextContrast, TheDesignedColourGivesWayOnlyWhereItWouldBeHardToRead) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(readableTextColour(RGB(0, 0, 255), COLOR_HIGHLIGHT, RGB(255, 255, 255), false), RGB(0, 0, 255));
    EXPECT_EQ(readableTextColour(RGB(0, 0, 255), COLOR_HIGHLIGHT, RGB(0, 0, 0), false), highlight);
    EXPECT_EQ(readableTextColour(RGB(0, 0, 255), COLOR_HIGHLIGHT, RGB(255, 255, 255), true), highlight);
    // 4.5:1 itself is enough: grey 118 on white is 4.54:1, grey 119 4.48:1.
    EXPECT_EQ(readableTextColour(RGB(118, 118, 118), COLOR_BTNTEXT, RGB(255, 255, 255), false),
              RGB(118, 118, 118));
    EXPECT_EQ(readableTextColour(RGB(119, 119, 119), COLOR_BTNTEXT, RGB(255, 255, 255), false),
              GetSysColor(COLOR_BTNTEXT));
}

} // namespace
