// The About window: the program's title, version and notice, a few lines of text and a link to
// the maker's homepage. Made anew for each showing and shown modally over the main window.
#pragma once

#include "desktop/desktop.h"
#include "handles.h"
#include "window/accessibility.h"
#include "window/base_window.h"
#include "window/control_colours.h"
#include "window/controls.h"
#include "window/layout.h"
#include "window/mouse_watch.h"
#include "window/tooltips.h"

#include <string>
#include <vector>

inline const std::string homepageAddress = "https://www.example.org/hollowcrest/";

class FrmAbout final : public BaseWindow, public ModalWindow, private MouseListener {
public:
    // Its link opens through the desktop; its colours follow the system's accessibility settings.
    FrmAbout(Desktop &desktop, Accessibility &accessibility, HWND mainWindow)
        : desktop_(desktop), mainWindow_(mainWindow), colours_(accessibility) {}

    // Creates the window hidden over the main window and runs its load.
    void load();

    HWND hwnd() const override { return BaseWindow::hwnd(); }
    const char *formName() const override { return "frmabout"; }

    Label lblprogtitle, lblversion, lblcopyright, lblcopyright2, lbltext3, lbltext4, lbltext5, lblurl;
    Button cmdok;

    void Form_Load();
    void cmdok_Click();
    void lblurl_Click();
    void lblurl_MouseMove();

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;
    void layOutAtDpi(int dpi) override;
    void bindControls();
    void addSeparators();
    void placeSeparators(int dpi);

    Desktop &desktop_;
    HWND mainWindow_;
    Tooltips tooltips_;
    ControlColours colours_;
    TableControls controls_;
    std::vector<HWND> separators_; // destroyed with the window
    HCURSOR linkPointer_ = nullptr;
};
