#include "window/window_place.h"

#include "window/layout.h"

#include <algorithm>
#include <cmath>

namespace {

double screenTwips(LONG pixels) { return pixelsToTwips(pixels, screenDpi()); }

int twipsToScreenPixels(double twips) { return twipsToNearestPixel(twips, screenDpi()); }

RECT frameOf(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame;
}

void moveFrameTo(HWND window, int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TwipsRect windowFrameTwips(HWND window) {
    const RECT frame = frameOf(window);
    return {screenTwips(frame.left), screenTwips(frame.top), screenTwips(frame.right - frame.left),
            screenTwips(frame.bottom - frame.top)};
}

double screenWidthTwips() { return screenTwips(GetSystemMetrics(SM_CXSCREEN)); }
double screenHeightTwips() { return screenTwips(GetSystemMetrics(SM_CYSCREEN)); }

void setWindowTopTwips(HWND window, double top) {
    moveFrameTo(window, frameOf(window).left, twipsToScreenPixels(top));
}

void setWindowLeftTwips(HWND window, double left) {
    moveFrameTo(window, twipsToScreenPixels(left), frameOf(window).top);
}

void centreOver(HWND window, HWND owner) {
    const RECT outer = frameOf(window);
    RECT over{};
    if (!owner || IsIconic(owner) || !GetWindowRect(owner, &over))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    moveFrameTo(window, over.left + ((over.right - over.left) - width) / 2,
                over.top + ((over.bottom - over.top) - height) / 2);
}

// The whole title bar must be on the monitors (its four corners each on one), so that the window can
// be taken by it and moved; a corner of the frame showing is not enough.
bool onSomeMonitor(HWND window) {
    const RECT frame = frameOf(window);
    const LONG titleBottom = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) - 1;
    for (const POINT corner : {POINT{frame.left, frame.top}, POINT{frame.right - 1, frame.top},
                               POINT{frame.left, titleBottom}, POINT{frame.right - 1, titleBottom}})
        if (!MonitorFromPoint(corner, MONITOR_DEFAULTTONULL)) return false;
    return true;
}

int32_t wholeTwips(double twips) { return static_cast<int32_t>(std::nearbyint(twips)); }
