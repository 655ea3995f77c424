// Lets a window see the mouse moves and presses over its child controls (by subclassing them).
#pragma once

#include "platform/win.h"

class MouseListener {
public:
    virtual ~MouseListener() = default;
    virtual void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

void watchMouse(HWND control, MouseListener &listener);
