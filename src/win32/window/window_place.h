// The main window's place on the screen as the settings keep it: edges of the outer frame in twips
// from the screen's top-left corner.
#pragma once

#include "twips.h"
#include "win.h"

#include <cstdint>

struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

TwipsRect windowFrameTwips(HWND window);
// The primary screen's size in twips.
double screenWidthTwips();
double screenHeightTwips();

// Moves one edge of the frame; the other stays where it is.
void setWindowTopTwips(HWND window, double top);
void setWindowLeftTwips(HWND window, double left);

// Centres the window over its owner; over the work area when there is no owner or it is minimized.
void centreOver(HWND window, HWND owner);

// True when the whole title bar lies on the monitors (each of its four corners on one), so the user
// can take the window by it and move it.
bool onSomeMonitor(HWND window);

// The edge's twips as they are written: a whole number.
int32_t wholeTwips(double twips);
