// Twips and pixels: the layout tables, the pointer positions the handlers see and the stored window
// place speak twips (1440 an inch), the screen pixels at its dots per inch. Also the arithmetic that
// centres one length in another.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

inline constexpr double twipsPerInch = 1440.0;

inline double pixelsToTwips(double pixels, int dpi) { return pixels * twipsPerInch / dpi; }

// A layout length: the nearest pixel, halves away from zero.
inline int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / twipsPerInch));
}

// A pointer position or a window edge: the nearest pixel, halves to even, kept within a million
// pixels so that far-off stored edges cannot overflow the platform's coordinates.
inline int twipsToNearestPixel(double twips, int dpi) {
    const double pixels = std::nearbyint(twips * dpi / twipsPerInch);
    return static_cast<int>(std::clamp(pixels, -1e6, 1e6));
}

// The edge that centres a length in another: the difference rounded to a whole number (halves to
// even), then halved with the remainder dropped.
inline int32_t centredEdge(double outerLength, double innerLength) {
    const auto difference = static_cast<int32_t>(std::nearbyint(outerLength - innerLength));
    return difference / 2;
}
