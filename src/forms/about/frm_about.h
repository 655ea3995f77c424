// The About window: the program's title, version and notice, a few lines of text and a link to
// the maker's homepage. Made anew for each showing and shown modally over the main window.
//
// The design's names and the C++ names:
//   frmabout, Form_Load           FrmAbout, loaded
//   cmdok, cmdok_Click            okButton, destroyWindow
//   lblurl, _Click, _MouseMove    linkLabel, linkClicked, linkMouseMove
//   the other labels              first column of controlTable below
#pragma once

#include "desktop/desktop.h"
#include "handles.h"
#include "window/accessibility.h"
#include "window/base_window.h"
#include "window/control_binding.h"
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

private:
    friend class WindowProbe; // the tests' view of the controls

    struct Controls {
        Label titleLabel, versionLabel, copyrightLabel, authorsLabel;
        Label greetingLabel, updatesLabel, homepageLabel, linkLabel;
        Button okButton;
    };
    static constexpr ControlBinding<Controls> controlTable[] = {
        {"lblprogtitle", &Controls::titleLabel},
        {"lblversion", &Controls::versionLabel},
        {"lblcopyright", &Controls::copyrightLabel},
        {"lblcopyright2", &Controls::authorsLabel},
        {"lbltext3", &Controls::greetingLabel},
        {"lbltext4", &Controls::updatesLabel},
        {"lbltext5", &Controls::homepageLabel},
        {"lblurl", &Controls::linkLabel},
        {"cmdok", &Controls::okButton},
    };

    void loaded();
    void linkClicked();
    void linkMouseMove();
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
    TableControls madeControls_;
    Controls controls_;
    std::vector<HWND> separators_; // destroyed with the window
    HCURSOR linkPointer_ = nullptr;
};
