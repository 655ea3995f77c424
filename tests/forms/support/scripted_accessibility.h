// Accessibility settings a test sets itself: Wine always answers that high contrast is off.
#pragma once

#include "window/accessibility.h"

class ScriptedAccessibility final : public Accessibility {
public:
    bool highContrastOn = false;
    bool highContrast() const override { return highContrastOn; }
};
