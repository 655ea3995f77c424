// The About window's design: client size, the place of every control and of its separators.
#pragma once

#include "window/layout.h"

#include <span>

inline constexpr int aboutClientWidthTwips = 4800;
inline constexpr int aboutClientHeightTwips = 3600;

std::span<const ControlRow> aboutLayout();

// The separators: etched lines across the window, at these tops (twips).
struct SeparatorRow {
    const char *name;
    int left, top, width;
};
std::span<const SeparatorRow> aboutSeparators();
