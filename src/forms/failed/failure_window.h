// What the two failure windows share: a fixed tool window over the main window, its controls made
// from a layout table, the warning picture, and "&Proceed", which unloads it.
//
// The design's names and the C++ names of what they share:
//   Label1 / Label2      headingLabel / adviceLabel
//   Image1               warningPicture
//   Command1, _Click     proceedButton, unload
#pragma once

#include "desktop/desktop.h"
#include "handles.h"
#include "window/accessibility.h"
#include "window/base_window.h"
#include "window/control_binding.h"
#include "window/control_colours.h"
#include "window/control_names.h"
#include "window/controls.h"
#include "window/layout.h"
#include "window/tooltips.h"

#include <span>

inline const char *const failureWindowCaption = "Unable to convert:";

class FailureWindow : public BaseWindow, public ModalWindow {
public:
    explicit FailureWindow(Accessibility &accessibility) : colours_(accessibility), names_(accessibility) {}
    // The window goes while this part of the object is whole, so its names are taken back.
    ~FailureWindow() override { destroyWindow(); }
    HWND hwnd() const override { return BaseWindow::hwnd(); }

protected:
    friend class WindowProbe; // the tests' view of the controls

    // What both windows show: the two texts, the warning picture and "&Proceed".
    struct SharedControls {
        Label headingLabel, adviceLabel;
        Control warningPicture;
        Button proceedButton;
    };
    static constexpr ControlBinding<SharedControls> sharedControlTable[] = {
        {"Label1", &SharedControls::headingLabel},
        {"Label2", &SharedControls::adviceLabel},
        {"Image1", &SharedControls::warningPicture},
        {"Command1", &SharedControls::proceedButton},
    };

    // Creates the window hidden, centred over its owner, with the table's controls, and binds the
    // shared ones. False when the window could not be made.
    bool loadHidden(const char *className, int clientWidthTwips, int clientHeightTwips,
                    std::span<const ControlRow> table, HWND owner);
    // Binds the members of a window's own table to its controls.
    template <class Controls>
    void bindOwn(Controls &controls, std::span<const ControlBinding<std::type_identity_t<Controls>>> table) {
        bindControls(controls, table, madeControls_, formName(), &tooltips_, &colours_);
    }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layOutAtDpi(int dpi) override;
    // A click on a button of the window's own.
    virtual void onClick(HWND control) { (void)control; }
    void unload() { destroyWindow(); }

    SharedControls shared_;
    Tooltips tooltips_;
    ControlColours colours_;
    ControlNames names_;

private:
    void showWarningPicture();
    void followOwnerScale();

    TableControls madeControls_;
    IconHandle warning_;
};

// The system's warning icon at the given size in pixels (the caller destroys it).
HICON warningIcon(int size);
