// The scale a window is drawn at. Quillmere is per-monitor aware: each top-level window keeps the dots
// per inch of the monitor it is on and is told by Windows when that changes. The calls that take a DPI
// came with Windows 10 (1607); where they are missing, the screen's one DPI holds for every window.
#pragma once

#include "win.h"

// The DPI Windows gives the window; the screen's where the system cannot say.
int systemDpiOfWindow(HWND window);

// A system metric (SM_...) at the given DPI; at the screen's where the system cannot scale it.
int systemMetricAtDpi(int index, int dpi);

// The window rectangle around a client rectangle, with the frame, title bar and menu bar of the given
// DPI; where the system has no such call, with those of the screen, as Windows 8.1 draws them.
RECT frameAroundClient(RECT client, DWORD style, bool hasMenu, DWORD exStyle, int dpi);

// WM_DPICHANGED's new DPI: Windows gives the same value for both axes.
inline int dpiOfChange(WPARAM wParam) { return HIWORD(wParam); }
