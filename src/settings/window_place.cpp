#include "settings/window_place.h"

#include "platform/layout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double twipsPerInch = 1440.0;

double pixelsToTwips(LONG pixels) { return pixels * twipsPerInch / screenDpi(); }

// Far-off stored edges must not overflow the platform's coordinates.
int twipsToScreenPixels(double twips) {
    const double pixels = std::nearbyint(twips * screenDpi() / twipsPerInch);
    return static_cast<int>(std::clamp(pixels, -1e6, 1e6));
}

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
    return {pixelsToTwips(frame.left), pixelsToTwips(frame.top), pixelsToTwips(frame.right - frame.left),
            pixelsToTwips(frame.bottom - frame.top)};
}

double screenWidthTwips() { return pixelsToTwips(GetSystemMetrics(SM_CXSCREEN)); }
double screenHeightTwips() { return pixelsToTwips(GetSystemMetrics(SM_CYSCREEN)); }

void setWindowTopTwips(HWND window, double top) {
    moveFrameTo(window, frameOf(window).left, twipsToScreenPixels(top));
}

void setWindowLeftTwips(HWND window, double left) {
    moveFrameTo(window, twipsToScreenPixels(left), frameOf(window).top);
}

int32_t centredEdge(double screenLength, double windowLength) {
    const auto difference = static_cast<int32_t>(std::nearbyint(screenLength - windowLength));
    return difference / 2;
}

// The whole title bar must be on the monitors (its four corners each on one), so that the window can
// be taken by it and moved; a corner of the frame showing is not enough.
bool onSomeMonitor(HWND window) {
    const RECT frame = frameOf(window);
    const LONG titleBottom = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) - 1;
    for (const POINT corner : {POINT{frame.left, frame.top}, POINT{frame.right - 1, frame.top},
                               POINT{frame.left, titleBottom}, POINT{frame.right - 1, titleBottom}})
        if (!MonitorFromPoint(corner, MONITOR_DEFAULTTONULL))
            return false;
    return true;
}

int32_t wholeTwips(double twips) { return static_cast<int32_t>(std::nearbyint(twips)); }
