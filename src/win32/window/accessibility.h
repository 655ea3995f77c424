// What the windows ask of the system's accessibility settings and services: whether the user has
// turned high contrast on, and the names a screen reader says for controls whose own text does not
// tell what they are for. The windows are handed an implementation; the program's own asks Windows.
#pragma once

#include "win.h"

#include <string>

struct IAccPropServices;

class Accessibility {
public:
    virtual ~Accessibility() = default;
    // High contrast is on: the windows draw in the system's colours, not their own.
    virtual bool highContrast() const = 0;
    // Gives the control the name a screen reader says for it; false when the system cannot (the
    // control is then read by its kind alone, and the program carries on).
    virtual bool setControlName(HWND control, const std::string &name) = 0;
    // Takes a name back; called while the control still exists.
    virtual void clearControlName(HWND control) = 0;
};

// High contrast from SystemParametersInfo; names through Dynamic Annotation (IAccPropServices), made
// on first use in the calling thread's COM apartment.
class SystemAccessibility final : public Accessibility {
public:
    SystemAccessibility();
    ~SystemAccessibility() override;
    SystemAccessibility(const SystemAccessibility &) = delete;
    SystemAccessibility &operator=(const SystemAccessibility &) = delete;

    bool highContrast() const override;
    bool setControlName(HWND control, const std::string &name) override;
    void clearControlName(HWND control) override;

private:
    IAccPropServices *services();

    IAccPropServices *services_ = nullptr;
    bool tried_ = false;
};
