// The windows under a high-contrast colour scheme, read from their pixels: every caption the program
// colours itself stands out from its background by at least 4.5:1, as WCAG asks of text.
#include "form_fixture.h"

#include "about/frm_about.h"
#include "failed/frm_error.h"
#include "main/frm_main.h"
#include "window/contrast.h"
#include "window/layout.h"
#include "window/progress_bar.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct SchemeColour {
    int index;
    COLORREF colour;
};

// Black and white schemes of the kind high contrast gives: light text on black, dark text on white.
const std::vector<SchemeColour> highContrastBlack = {
    {COLOR_WINDOW, RGB(0, 0, 0)},
    {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(0, 0, 0)},
    {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
    {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
    {COLOR_HOTLIGHT, RGB(255, 255, 0)},
    {COLOR_GRAYTEXT, RGB(63, 242, 63)},
    {COLOR_MENU, RGB(0, 0, 0)},
    {COLOR_MENUTEXT, RGB(255, 255, 255)},
    {COLOR_INFOBK, RGB(0, 0, 0)},
    {COLOR_INFOTEXT, RGB(255, 255, 255)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)},
    {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
};
const std::vector<SchemeColour> highContrastWhite = {
    {COLOR_WINDOW, RGB(255, 255, 255)},    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
    {COLOR_BTNFACE, RGB(255, 255, 255)},   {COLOR_BTNTEXT, RGB(0, 0, 0)},
    {COLOR_HIGHLIGHT, RGB(55, 0, 110)},    {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
    {COLOR_HOTLIGHT, RGB(0, 0, 159)},      {COLOR_GRAYTEXT, RGB(96, 0, 0)},
    {COLOR_MENU, RGB(255, 255, 255)},      {COLOR_MENUTEXT, RGB(0, 0, 0)},
    {COLOR_INFOBK, RGB(255, 255, 255)},    {COLOR_INFOTEXT, RGB(0, 0, 0)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)}, {COLOR_BTNHIGHLIGHT, RGB(0, 0, 0)},
};

// Sets a scheme's system colours while the windows are open, as a user switching the scheme does;
// the colours the process had come back at the end. (Under Wine a change reaches only this process.)
class SchemeSwitch {
public:
    explicit SchemeSwitch(const std::vector<SchemeColour> &scheme) {
        for (const SchemeColour &entry : scheme) {
            indexes_.push_back(entry.index);
            before_.push_back(GetSysColor(entry.index));
            after_.push_back(entry.colour);
        }
        SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), after_.data());
    }
    ~SchemeSwitch() { SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), before_.data()); }
    SchemeSwitch(const SchemeSwitch &) = delete;
    SchemeSwitch &operator=(const SchemeSwitch &) = delete;

private:
    std::vector<int> indexes_;
    std::vector<COLORREF> before_, after_;
};

// Lets every pending message and paint be handled: what is on screen then is what the program drew.
// Without `paintPending`, only the messages: a window that must draw itself anew has done so already.
void settle(HWND window, bool paintPending) {
    const UINT allButPaint = PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | (paintPending ? 0 : allButPaint))) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (paintPending) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The pixels of a window's client area, as it shows them.
class Screenshot {
public:
    explicit Screenshot(HWND window, bool paintPending = true) : window_(window) {
        settle(window, paintPending);
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        HDC source = GetDC(window);
        HDC memory = CreateCompatibleDC(source);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void *bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
        GdiFlush();
        const auto *row = static_cast<const DWORD *>(bits);
        pixels_.assign(row, row + static_cast<size_t>(width_) * static_cast<size_t>(height_));
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window, source);
    }

    // The colour at a point of the client area (a DIB holds 0x00RRGGBB).
    COLORREF at(int x, int y) const {
        const DWORD pixel =
            pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // A control's client area (without its edge) in the window's client area.
    RECT placeOf(HWND control) const {
        RECT rect;
        GetClientRect(control, &rect);
        MapWindowPoints(control, window_, reinterpret_cast<POINT *>(&rect), 2);
        rect.left = std::max<LONG>(rect.left, 0);
        rect.top = std::max<LONG>(rect.top, 0);
        rect.right = std::min<LONG>(rect.right, width_);
        rect.bottom = std::min<LONG>(rect.bottom, height_);
        return rect;
    }

private:
    HWND window_;
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// What a caption's area shows: its background (the commonest colour there) and its text (the commonest
// other colour), with how many pixels the text has.
struct CaptionPixels {
    COLORREF background = 0, text = 0;
    int textPixels = 0;
};

CaptionPixels readCaption(const Screenshot &shot, RECT area) {
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) ++counts[shot.at(x, y)];
    CaptionPixels found;
    int most = 0;
    for (const auto &[colour, count] : counts)
        if (count > most) most = count, found.background = colour;
    for (const auto &[colour, count] : counts)
        if (colour != found.background && count > found.textPixels)
            found.textPixels = count, found.text = colour;
    return found;
}

int fontHeightOf(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

// Where a control shows its caption: an option without its round button, a frame only the upper half
// of its title line (the frame's own line runs through the middle of it), anything else all of it.
RECT captionArea(const Screenshot &shot, HWND control) {
    RECT area = shot.placeOf(control);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Button") != 0) return area;
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
        area.bottom = area.top + fontHeightOf(control) / 2 - 1;
        return area;
    }
    area.left += GetSystemMetrics(SM_CXMENUCHECK) + 3;
    return area;
}

struct Caption {
    const char *name;
    HWND control;
};

void expectReadable(const Screenshot &shot, const std::vector<Caption> &captions) {
    for (const Caption &caption : captions) {
        SCOPED_TRACE(caption.name);
        const CaptionPixels found = readCaption(shot, captionArea(shot, caption.control));
        EXPECT_GE(found.textPixels, 8) << "the caption shows";
        EXPECT_GE(contrastRatio(found.text, found.background), 4.5)
            << std::hex << "text 0x" << found.text << " on 0x" << found.background;
    }
}

class HighContrast : public FormTest {
protected:
    FrmMain &shownMain() {
        FrmMain &frm = main();
        frm.show();
        return frm;
    }

    void expectMainReadable(FrmMain &frm) {
        const Screenshot shot(frm.hwnd());
        expectReadable(shot, {{"optClipboard", controls(frm).clipboardOption.hwnd()},
                              {"optSingle", controls(frm).singleFileOption.hwnd()},
                              {"optMultiple", controls(frm).multipleFilesOption.hwnd()},
                              {"FrameSettings", controls(frm).settingsFrame.hwnd()},
                              {"Label1", controls(frm).sourceFileLabel.hwnd()},
                              {"Label3", controls(frm).sourceFolderLabel.hwnd()},
                              {"Label5", controls(frm).clipboardLabel.hwnd()},
                              {"Label6", controls(frm).spacesLabel.hwnd()},
                              {"lblNumberofiles", controls(frm).fileCountLabel.hwnd()},
                              {"lblVerify", controls(frm).statusLabel.hwnd()},
                              {"txtSource", controls(frm).sourceFileBox.hwnd()}});
    }

    void expectAboutReadable(FrmMain &frm) {
        bool shown = false;
        desk.modalActions.push_back([&](ModalWindow &window) {
            auto &about = dynamic_cast<FrmAbout &>(window);
            ShowWindow(about.hwnd(), SW_SHOWNA);
            shown = true;
            const Screenshot shot(about.hwnd());
            expectReadable(shot, {{"lblprogtitle", controls(about).titleLabel.hwnd()},
                                  {"lblversion", controls(about).versionLabel.hwnd()},
                                  {"lblcopyright", controls(about).copyrightLabel.hwnd()},
                                  {"lbltext4", controls(about).updatesLabel.hwnd()},
                                  {"lblurl", controls(about).linkLabel.hwnd()}});
        });
        frm.aboutClicked();
        EXPECT_TRUE(shown);
    }

    void expectFailedFilesReadable(FrmMain &frm) {
        FrmError &failed = frm.failedFilesWindow();
        failed.addFailedFile("c:\\notes\\held by another program.txt");
        ShowWindow(failed.hwnd(), SW_SHOWNA);
        const Screenshot shot(failed.hwnd());
        expectReadable(shot, {{"Label1", shared(failed).headingLabel.hwnd()},
                              {"Label2", shared(failed).adviceLabel.hwnd()},
                              {"List2", controls(failed).failedFilesList.hwnd()}});
        ShowWindow(failed.hwnd(), SW_HIDE);
    }
};

TEST_F(HighContrast, SwitchedToBlackWhileOpenEveryCaptionStandsOut) {
    FrmMain &frm = shownMain();
    const SchemeSwitch scheme(highContrastBlack);
    expectMainReadable(frm);
    controls(frm)
        .singleFileOption.click(); // the selected operation in its highlight, the others in the text colour
    expectMainReadable(frm);
    expectAboutReadable(frm);
    expectFailedFilesReadable(frm);
}

TEST_F(HighContrast, SwitchedToWhiteWhileOpenEveryCaptionStandsOut) {
    FrmMain &frm = shownMain();
    const SchemeSwitch scheme(highContrastWhite);
    expectMainReadable(frm);
    expectAboutReadable(frm);
    expectFailedFilesReadable(frm);
}

// High contrast on: the system's colours also where the designed ones would be readable, and the
// windows take them at once when the setting changes (Windows tells every window, WM_SETTINGCHANGE).
TEST_F(HighContrast, TurnedOnTheWindowsDrawInTheSystemsColoursAtOnce) {
    FrmMain &frm = shownMain();
    const SchemeSwitch scheme(highContrastWhite);
    {
        const Screenshot shot(frm.hwnd());
        EXPECT_EQ(readCaption(shot, captionArea(shot, controls(frm).clipboardOption.hwnd())).text,
                  operationSelectedColour);
    }
    accessibility.highContrastOn = true;
    SendMessageW(frm.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const Screenshot shot(frm.hwnd(), false);
    EXPECT_EQ(readCaption(shot, captionArea(shot, controls(frm).clipboardOption.hwnd())).text,
              RGB(55, 0, 110))
        << "the selected operation in the highlight colour";
    EXPECT_EQ(readCaption(shot, captionArea(shot, controls(frm).statusLabel.hwnd())).text, RGB(0, 0, 0));
    expectMainReadable(frm);

    // The progress bar: the highlight colour on the window colour, no longer cyan to blue.
    controls(frm).progressBar.setMax(4);
    controls(frm).progressBar.setValue(2);
    const Screenshot bar(frm.hwnd());
    const RECT place = bar.placeOf(controls(frm).progressBar.hwnd());
    const int middle = (place.top + place.bottom) / 2;
    EXPECT_EQ(bar.at(place.left, middle), RGB(55, 0, 110));
    EXPECT_EQ(bar.at(place.right - 2, middle), RGB(255, 255, 255));

    bool linkSeen = false;
    desk.modalActions.push_back([&](ModalWindow &window) {
        auto &about = dynamic_cast<FrmAbout &>(window);
        ShowWindow(about.hwnd(), SW_SHOWNA);
        const Screenshot aboutShot(about.hwnd());
        EXPECT_EQ(readCaption(aboutShot, captionArea(aboutShot, controls(about).linkLabel.hwnd())).text,
                  RGB(0, 0, 159))
            << "the address in the system's link colour";
        linkSeen = true;
    });
    frm.aboutClicked();
    EXPECT_TRUE(linkSeen);

    // Off again, told as Windows tells a change of contrast theme in Settings: the designed colours
    // come back.
    accessibility.highContrastOn = false;
    SendMessageW(frm.hwnd(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"WindowsThemeElement"));
    const Screenshot after(frm.hwnd(), false);
    EXPECT_EQ(readCaption(after, captionArea(after, controls(frm).clipboardOption.hwnd())).text,
              operationSelectedColour);
    EXPECT_EQ(after.at(place.left, middle), progressStartColour);
}

} // namespace
