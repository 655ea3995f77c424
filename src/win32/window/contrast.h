// How far apart two colours stand for a reader: the contrast ratio of WCAG 2, from 1:1 (the same
// luminance) to 21:1 (black on white). Text needs 4.5:1 against its background to be read easily.
#pragma once

#include "win.h"

inline constexpr double readableTextContrast = 4.5;

// The relative luminance of an sRGB colour: 0 for black, 1 for white.
double relativeLuminance(COLORREF colour);

// The ratio of the lighter colour's luminance to the darker's, each plus 0.05; the order does not matter.
double contrastRatio(COLORREF first, COLORREF second);
