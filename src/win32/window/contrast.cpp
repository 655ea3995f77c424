#include "window/contrast.h"

#include <algorithm>
#include <cmath>

namespace {

// An sRGB channel made linear, as WCAG 2 defines it.
double linearChannel(BYTE value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(COLORREF colour) {
    return 0.2126 * linearChannel(GetRValue(colour)) + 0.7152 * linearChannel(GetGValue(colour)) +
           0.0722 * linearChannel(GetBValue(colour));
}

double contrastRatio(COLORREF first, COLORREF second) {
    const double a = relativeLuminance(first), b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}
