// The program's own progress bar: a smooth bar with a border whose filled share, value/maximum,
// runs from cyan at its start to blue at its end; under high contrast it is the system's highlight.
#pragma once

#include "win.h"

#include <cstdint>
#include <vector>

inline constexpr UINT PBQ_SETMAXIMUM = WM_USER + 1; // wParam: the new maximum
inline constexpr UINT PBQ_SETVALUE = WM_USER + 2;   // wParam: the new value
inline constexpr UINT PBQ_GETMAXIMUM = WM_USER + 3;
inline constexpr UINT PBQ_GETVALUE = WM_USER + 4;
// wParam TRUE: the bar in the system's colours (highlight on the window colour), as high contrast asks.
inline constexpr UINT PBQ_SETSYSTEMCOLOURS = WM_USER + 5;

inline constexpr COLORREF progressStartColour = 0x00FFFF00; // cyan
inline constexpr COLORREF progressEndColour = 0x00FF0000;   // blue

const char *progressBarClassName();

// A run of columns [left, right) of the filled part drawn in one colour.
struct ProgressBand {
    int left, right;
    COLORREF colour;
    bool operator==(const ProgressBand &) const = default;
};

// The filled part's columns grouped by colour: the colour runs from the start colour at column 0 to
// the end colour at the bar's last column, so a half-full bar ends half-way to blue.
std::vector<ProgressBand> progressBands(int filled, int innerWidth);

// Width in pixels of the filled part of a bar of the given inner width.
int filledWidth(int32_t value, int32_t maximum, int innerWidth);
