// The names a window gives its controls for screen readers, and takes back before the controls go:
// Windows keeps an annotation past its control otherwise.
#pragma once

#include "win.h"
#include "window/accessibility.h"

#include <string>
#include <vector>

class ControlNames {
public:
    explicit ControlNames(Accessibility &accessibility) : accessibility_(accessibility) {}
    ControlNames(const ControlNames &) = delete;
    ControlNames &operator=(const ControlNames &) = delete;

    // A name the system cannot take leaves the control as it was; the window works the same.
    void give(HWND control, const std::string &name);
    // Every name given, taken back; for the window's WM_DESTROY, while its controls exist.
    void takeBackAll();

private:
    Accessibility &accessibility_;
    std::vector<HWND> named_;
};
