// The designs of the two failure windows: client sizes and every control's place and caption.
#pragma once

#include "window/layout.h"

#include <span>

inline constexpr int frmErrorClientWidthTwips = 6075;
inline constexpr int frmErrorClientHeightTwips = 3780;
inline constexpr int frmErrorClipboardClientHeightTwips = 1860;

std::span<const ControlRow> frmErrorLayout();
std::span<const ControlRow> frmErrorClipboardLayout();
