// Accessibility settings and services a test scripts itself: Wine always answers that high contrast is
// off and refuses every name (E_NOTIMPL), so the test says what the system would.
#pragma once

#include "window/accessibility.h"

#include <map>
#include <string>
#include <vector>

class ScriptedAccessibility final : public Accessibility {
public:
    bool highContrastOn = false;
    // The system refuses every name, as Wine's does.
    bool namesRefused = false;

    // The names the controls have now, and each name taken back (with whether its control was still
    // there); how many names were offered.
    std::map<HWND, std::string> names;
    struct Cleared {
        HWND control;
        bool controlExisted;
    };
    std::vector<Cleared> cleared;
    int asked = 0;

    bool highContrast() const override { return highContrastOn; }
    bool setControlName(HWND control, const std::string &name) override {
        ++asked;
        if (namesRefused) return false;
        names[control] = name;
        return true;
    }
    void clearControlName(HWND control) override {
        cleared.push_back({control, IsWindow(control) != 0});
        names.erase(control);
    }
};
