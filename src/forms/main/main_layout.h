// The main window's design: client size and every control's place, caption and tooltip.
#pragma once

#include "window/layout.h"

#include <span>

inline constexpr int mainClientWidthTwips = 6315;
inline constexpr int mainClientHeightTwips = 8490;

std::span<const ControlRow> mainLayout();
