// The About window: modal over the main window, its texts and fonts, its OK button and its link.
#include "form_fixture.h"
#include "modal_keys.h"

#include "about/frm_about.h"
#include "main/frm_main.h"
#include "quillmere_version.h"
#include "window/layout.h"
#include "window/modal_loop.h"

#include <cmath>
#include <functional>

namespace {

LOGFONTA fontOf(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

int currentYear() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

class AboutWindow : public FormTest {
protected:
    // Opens About from the main window and runs the action while it is shown.
    void openAbout(std::function<void(FrmAbout &)> action) {
        desk.modalActions.push_back(
            [action](ModalWindow &window) { action(dynamic_cast<FrmAbout &>(window)); });
        controls(main()).aboutButton.click();
    }
};

TEST_F(AboutWindow, ShowsTitleVersionFromTheProgramAndThisYearsNotice) {
    std::vector<std::string> texts;
    openAbout([&](FrmAbout &about) {
        for (const Label *label :
             {&controls(about).titleLabel, &controls(about).versionLabel, &controls(about).copyrightLabel,
              &controls(about).greetingLabel, &controls(about).updatesLabel, &controls(about).homepageLabel,
              &controls(about).linkLabel})
            texts.push_back(label->caption());
        texts.push_back(windowText(about.hwnd()));
        texts.push_back(windowText(controls(about).okButton.hwnd()));
        EXPECT_FALSE(controls(about).authorsLabel.caption().empty());
        EXPECT_EQ(GetWindow(about.hwnd(), GW_OWNER), main().hwnd());
    });
    const std::vector<std::string> expected{"Quillmere",
                                            "Version " QM_VERSION_TEXT,
                                            "Copyright (c) Hollowcrest " + std::to_string(currentYear()),
                                            "Play and enjoy!",
                                            "For updates and other freeware,",
                                            "Visit my homepage at",
                                            homepageAddress,
                                            "About",
                                            "&Ok"};
    EXPECT_EQ(texts, expected);
    ASSERT_EQ(desk.of("modal").size(), 1u);
    EXPECT_EQ(desk.of("modal")[0].text, "frmabout");
}

TEST_F(AboutWindow, TitleAndVersionHaveTheirOwnFontsAndTheLinkIsBlue) {
    openAbout([&](FrmAbout &about) {
        const int dpi = screenDpi();
        const LOGFONTA title = fontOf(controls(about).titleLabel.hwnd());
        EXPECT_STREQ(title.lfFaceName, "MS Sans Serif");
        EXPECT_EQ(title.lfHeight, -static_cast<LONG>(std::lround(13.5 * dpi / 72.0)));
        EXPECT_LT(title.lfWeight, FW_BOLD);
        const LOGFONTA version = fontOf(controls(about).versionLabel.hwnd());
        EXPECT_EQ(version.lfHeight, -static_cast<LONG>(std::lround(9.75 * dpi / 72.0)));
        EXPECT_EQ(version.lfWeight, FW_BOLD);
        EXPECT_EQ(controls(about).linkLabel.foreColor(), static_cast<COLORREF>(0x00FF0000));
    });
}

void expectEveryTextFits(const FrmAbout &about) {
    for (const Label *label :
         {&controls(about).titleLabel, &controls(about).versionLabel, &controls(about).copyrightLabel,
          &controls(about).authorsLabel, &controls(about).greetingLabel, &controls(about).updatesLabel,
          &controls(about).homepageLabel, &controls(about).linkLabel}) {
        HDC dc = GetDC(label->hwnd());
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label->hwnd(), WM_GETFONT, 0, 0)));
        const std::string text = label->caption();
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, previous);
        ReleaseDC(label->hwnd(), dc);
        RECT rect;
        GetClientRect(label->hwnd(), &rect);
        EXPECT_LE(extent.cx, rect.right) << text;
        EXPECT_LE(extent.cy, rect.bottom) << text;
    }
}

// At every screen scale: the About window opens at the scale of the main window it opens over, and
// follows its own monitor's scale when it is moved to another while open.
TEST_F(AboutWindow, EveryTextFitsItsLabel) {
    const int scales[] = {96, 120, 144, 192, 288};
    const RECT suggested{0, 0, 400, 400};
    for (int dpi : scales) {
        SCOPED_TRACE(dpi);
        SendMessageW(main().hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        openAbout([&](FrmAbout &about) {
            EXPECT_EQ(about.dpi(), dpi);
            expectEveryTextFits(about);
            for (int to : scales) {
                if (to == dpi) continue;
                SCOPED_TRACE(to);
                SendMessageW(about.hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
                             reinterpret_cast<LPARAM>(&suggested));
                EXPECT_EQ(about.dpi(), to);
                expectEveryTextFits(about);
                SendMessageW(about.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(&suggested));
            }
        });
    }
}

TEST_F(AboutWindow, OkClosesItAndTheMainWindowStaysAsItWas) {
    bool closed = false;
    openAbout([&](FrmAbout &about) {
        controls(about).okButton.click();
        closed = !IsWindow(about.hwnd());
    });
    EXPECT_TRUE(closed);
    EXPECT_FALSE(IsIconic(main().hwnd()));
    EXPECT_TRUE(desk.of("open").empty());
}

TEST_F(AboutWindow, LinkOpensTheHomepageMinimisesTheMainWindowAndCloses) {
    bool closed = false;
    openAbout([&](FrmAbout &about) {
        const HWND link = controls(about).linkLabel.hwnd();
        SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                     reinterpret_cast<LPARAM>(link));
        closed = !IsWindow(about.hwnd());
    });
    EXPECT_TRUE(closed);
    ASSERT_EQ(desk.of("open").size(), 1u);
    EXPECT_EQ(desk.of("open")[0].text, homepageAddress);
    EXPECT_EQ(desk.of("open")[0].title, "c:\\");
    EXPECT_EQ(desk.of("open")[0].style, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_TRUE(IsIconic(main().hwnd()));
}

// Notes whether the owner of a window is enabled when the window receives WM_DESTROY: a modal
// window destroyed while its owner is disabled hands activation to some other program's window.
class DestroyWatch {
public:
    DestroyWatch(HWND window, HWND owner) : window_(window), owner_(owner) {
        current = this;
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DestroyWatch::procedure)));
    }
    ~DestroyWatch() { current = nullptr; }
    DestroyWatch(const DestroyWatch &) = delete;
    DestroyWatch &operator=(const DestroyWatch &) = delete;
    bool destroyed = false;
    bool ownerEnabledAtDestroy = false;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY && current) {
            current->destroyed = true;
            current->ownerEnabledAtDestroy = IsWindowEnabled(current->owner_) != 0;
        }
        return CallWindowProcA(current->original_, window, message, wParam, lParam);
    }
    static inline DestroyWatch *current = nullptr;
    HWND window_, owner_;
    WNDPROC original_;
};

// Another program's top-level window, which Windows would activate if the owner were still disabled.
class OtherWindow {
public:
    OtherWindow() {
        window_ = CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OtherWindow() { DestroyWindow(window_); }
    OtherWindow(const OtherWindow &) = delete;
    OtherWindow &operator=(const OtherWindow &) = delete;

private:
    HWND window_;
};

// Each way the About window closes, through the real modal loop: the main window is enabled before
// the About window goes, and is the active window afterwards.
TEST_F(AboutWindow, EveryWayOfClosingGivesTheActivationBackToTheMainWindow) {
    FrmMain &frm = main();
    frm.show();
    const OtherWindow other;
    const std::vector<std::pair<const char *, std::function<void(FrmAbout &)>>> ways{
        {"Ok", [](FrmAbout &about) { PostMessageA(controls(about).okButton.hwnd(), BM_CLICK, 0, 0); }},
        {"Esc",
         [](FrmAbout &about) {
             PostMessageA(controls(about).okButton.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
             PostMessageA(controls(about).okButton.hwnd(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
         }},
        {"close box", [](FrmAbout &about) { PostMessageA(about.hwnd(), WM_CLOSE, 0, 0); }},
        {"link", [](FrmAbout &about) {
             PostMessageA(about.hwnd(), WM_COMMAND,
                          MAKEWPARAM(GetDlgCtrlID(controls(about).linkLabel.hwnd()), STN_CLICKED),
                          reinterpret_cast<LPARAM>(controls(about).linkLabel.hwnd()));
         }}};
    for (const auto &[name, close] : ways) {
        ShowWindow(frm.hwnd(), SW_RESTORE);
        SetActiveWindow(frm.hwnd());
        FrmAbout about(desk, accessibility, frm.hwnd());
        about.load();
        ASSERT_TRUE(about.hwnd());
        DestroyWatch watch(about.hwnd(), frm.hwnd());
        close(about);
        runModal(about.hwnd(), frm.hwnd());
        EXPECT_TRUE(watch.destroyed) << name;
        EXPECT_TRUE(watch.ownerEnabledAtDestroy) << name;
        EXPECT_TRUE(IsWindowEnabled(frm.hwnd())) << name;
        EXPECT_EQ(GetActiveWindow(), frm.hwnd()) << name;
    }
}

// The window opens with the focus on "&Ok", so Enter and Space close it; Esc does too.
TEST_F(AboutWindow, OpensWithTheFocusOnOkAndEnterSpaceOrEscClosesIt) {
    FrmMain &frm = main();
    frm.show();
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_SPACE), WPARAM(VK_ESCAPE)}) {
        FrmAbout about(desk, accessibility, frm.hwnd());
        about.load();
        ASSERT_TRUE(about.hwnd());
        const HWND ok = controls(about).okButton.hwnd();
        const ModalKeyPress keyPress(key, about.hwnd());
        runModal(about.hwnd(), frm.hwnd());
        EXPECT_TRUE(keyPress.pressed()) << key;
        EXPECT_EQ(keyPress.focused(), ok) << key;
        EXPECT_FALSE(keyPress.stillOpen()) << key;
        EXPECT_FALSE(about.isLoaded()) << key;
    }
    EXPECT_TRUE(desk.of("open").empty());
    EXPECT_FALSE(IsIconic(frm.hwnd()));
}

TEST_F(AboutWindow, PointerOverTheLinkIsAHand) {
    HCURSOR over = nullptr, moved = nullptr;
    openAbout([&](FrmAbout &about) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        SendMessageA(about.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(controls(about).linkLabel.hwnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        over = GetCursor();
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        SendMessageA(controls(about).linkLabel.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        moved = GetCursor();
    });
    EXPECT_EQ(over, LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(moved, LoadCursor(nullptr, IDC_HAND));
}

} // namespace
