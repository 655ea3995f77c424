#include "about/frm_about.h"
#include "about/about_layout.h"
#include "program_version.h"
#include "window/window_place.h"

namespace {

constexpr COLORREF linkColour = 0x00FF0000; // blue

std::string noticeForThisYear() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return "Copyright (c) Hollowcrest " + std::to_string(now.wYear);
}

// The title and the version stand out in larger fonts.
constexpr ControlFont ownFonts[] = {{"lblprogtitle", 13.5, false}, {"lblversion", 9.75, true}};

} // namespace

void FrmAbout::load() {
    createWindow("QuillmereAbout", "About", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                 aboutClientWidthTwips, aboutClientHeightTwips, mainWindow_, BaseWindow::dpiOf(mainWindow_));
    if (!hwnd()) return;
    tooltips_.attach(hwnd());
    bindControls();
    addSeparators();
    centreOver(hwnd(), mainWindow_);
    loaded();
}

void FrmAbout::addSeparators() {
    for (std::size_t i = 0; i < aboutSeparators().size(); ++i)
        separators_.push_back(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0,
                                              0, 0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr));
    placeSeparators(dpi());
}

// An etched line is two pixels high at every scale.
void FrmAbout::placeSeparators(int dpi) {
    const std::span<const SeparatorRow> lines = aboutSeparators();
    for (std::size_t i = 0; i < lines.size() && i < separators_.size(); ++i)
        SetWindowPos(separators_[i], nullptr, twipsToPixels(lines[i].left, dpi),
                     twipsToPixels(lines[i].top, dpi), twipsToPixels(lines[i].width, dpi), 2,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmAbout::layOutAtDpi(int dpi) {
    madeControls_.layOut(dpi);
    placeSeparators(dpi);
}

void FrmAbout::bindControls() {
    madeControls_.create(hwnd(), aboutLayout(), tooltips_, dpi(), ownFonts);
    ::bindControls(controls_, controlTable, madeControls_, formName(), &tooltips_, &colours_);
    Controls &c = controls_;
    for (const Label *label : {&c.titleLabel, &c.versionLabel, &c.copyrightLabel, &c.authorsLabel,
                               &c.greetingLabel, &c.updatesLabel, &c.homepageLabel, &c.linkLabel})
        colours_.setTransparent(label->hwnd());
    colours_.setText(c.linkLabel.hwnd(), linkColour, COLOR_HOTLIGHT);
    c.linkLabel.setCaption(homepageAddress);
    linkPointer_ = LoadCursor(nullptr, IDC_HAND);
    watchMouse(c.linkLabel.hwnd(), *this);
}

void FrmAbout::loaded() {
    controls_.titleLabel.setCaption(programProductName());
    controls_.versionLabel.setCaption("Version " + programVersionText());
    controls_.copyrightLabel.setCaption(noticeForThisYear());
}

// The address opens in the user's browser; the main window steps aside for it.
void FrmAbout::linkClicked() {
    ShowWindow(mainWindow_, SW_MINIMIZE);
    desktop_.shellOpen(hwnd(), homepageAddress, "c:\\", SW_SHOWNORMAL);
    destroyWindow();
}

void FrmAbout::linkMouseMove() { SetCursor(linkPointer_); }

void FrmAbout::childMouse(HWND control, UINT message, WPARAM, LPARAM) {
    if (control == controls_.linkLabel.hwnd() && message == WM_MOUSEMOVE) linkMouseMove();
}

LRESULT FrmAbout::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = colours_.answerMessage(message, wParam, lParam)) return *answer;
    switch (message) {
    case WM_COMMAND: {
        const HWND control = reinterpret_cast<HWND>(lParam);
        if (!control && LOWORD(wParam) == IDOK)
            pressFocusedPushButton(hwnd());
        else if (LOWORD(wParam) == IDCANCEL || control == controls_.okButton.hwnd())
            destroyWindow();
        else if (control == controls_.linkLabel.hwnd() && HIWORD(wParam) == STN_CLICKED)
            linkClicked();
        return 0;
    }
    case WM_SHOWWINDOW:
        if (wParam) controls_.okButton.setFocus(); // Enter and Space close the window at once
        break;
    case WM_SETCURSOR:
        // The link keeps its hand between moves, so the class arrow never flickers over it.
        if (reinterpret_cast<HWND>(wParam) == controls_.linkLabel.hwnd()) {
            SetCursor(linkPointer_);
            return TRUE;
        }
        break;
    case WM_CLOSE: destroyWindow(); return 0;
    }
    return BaseWindow::handleMessage(message, wParam, lParam);
}
