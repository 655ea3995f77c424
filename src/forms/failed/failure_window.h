// What the two failure windows share: a fixed tool window over the main window, its controls made
// from a layout table, the warning picture, and closing that unloads it.
#pragma once

#include "desktop/desktop.h"
#include "handles.h"
#include "window/accessibility.h"
#include "window/base_window.h"
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

    // What both windows show: the two texts, the warning picture and "&Proceed".
    Label Label1, Label2;
    Control Image1;
    Button Command1;

protected:
    // Creates the window hidden, centred over its owner, with the table's controls.
    ControlMap loadHidden(const char *className, int clientWidthTwips, int clientHeightTwips,
                          std::span<const ControlRow> table, HWND owner);
    // Binds the shared controls of a table made by loadHidden.
    void bindShared(const ControlMap &made);
    template <class Wrapper> void bind(Wrapper &wrapper, const ControlMap &made, const char *name) {
        wrapper = Wrapper(made.at(name), &tooltips_, &colours_);
    }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layOutAtDpi(int dpi) override;
    virtual void onClick(HWND control) = 0;
    void unload() { destroyWindow(); }

    Tooltips tooltips_;
    ControlColours colours_;
    ControlNames names_;

private:
    void showWarningPicture();
    void followOwnerScale();

    TableControls controls_;
    IconHandle warning_;
};

// The system's warning icon at the given size in pixels (the caller destroys it).
HICON warningIcon(int size);
