// Lets a window see the mouse moves and presses over its child controls (by subclassing them).
#pragma once

#include "win.h"

#include <cstdint>

class MouseListener {
public:
    virtual ~MouseListener() = default;
    virtual void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

void watchMouse(HWND control, MouseListener &listener);

// The held mouse buttons of a mouse message: 1 left, 2 right, 4 middle.
int16_t mouseButtonState(WPARAM wParam);

// A pointer coordinate of a mouse message in twips, as the handlers take it.
float pointerTwips(short pixels);
