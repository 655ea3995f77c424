// What the windows ask of the system's accessibility settings: whether the user has turned high
// contrast on. The windows are handed an implementation; the program's own asks Windows.
#pragma once

#include "win.h"

class Accessibility {
public:
    virtual ~Accessibility() = default;
    // High contrast is on: the windows draw in the system's colours, not their own.
    virtual bool highContrast() const = 0;
};

class SystemAccessibility final : public Accessibility {
public:
    bool highContrast() const override;
};
