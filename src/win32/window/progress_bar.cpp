#include "window/progress_bar.h"

#include <algorithm>
#include <new>

namespace {

struct BarState {
    int32_t maximum = 100;
    int32_t value = 0;
    bool systemColours = false;
};

BarState *stateOf(HWND bar) { return reinterpret_cast<BarState *>(GetWindowLongPtrW(bar, 0)); }

BYTE blend(BYTE from, BYTE to, int step, int steps) {
    return static_cast<BYTE>(from + (static_cast<int>(to) - from) * step / std::max(steps, 1));
}

COLORREF columnColour(int x, int width) {
    return RGB(blend(GetRValue(progressStartColour), GetRValue(progressEndColour), x, width - 1),
               blend(GetGValue(progressStartColour), GetGValue(progressEndColour), x, width - 1),
               blend(GetBValue(progressStartColour), GetBValue(progressEndColour), x, width - 1));
}

int innerWidth(HWND bar) {
    RECT inner;
    GetClientRect(bar, &inner);
    return inner.right - inner.left;
}

// Draws the columns [area.left, area.right) of the bar: the filled bands that reach into them and the
// empty rest. A folder run moves the bar after every file, so each paint draws only what changed.
void drawBar(HWND bar, HDC dc, const BarState &state, const RECT &area) {
    RECT inner;
    GetClientRect(bar, &inner);
    const int width = inner.right - inner.left;
    const int filled = filledWidth(state.value, state.maximum, width);
    const std::vector<ProgressBand> bands =
        state.systemColours ? std::vector<ProgressBand>{{0, filled, GetSysColor(COLOR_HIGHLIGHT)}}
                            : progressBands(filled, width);
    for (const ProgressBand &band : bands) {
        if (band.right <= area.left || band.left >= area.right) continue;
        HBRUSH brush = CreateSolidBrush(band.colour);
        if (!brush) return;
        RECT part{std::max<LONG>(band.left, area.left), inner.top, std::min<LONG>(band.right, area.right),
                  inner.bottom};
        FillRect(dc, &part, brush);
        DeleteObject(brush);
    }
    RECT empty{std::max<LONG>(filled, area.left), inner.top, std::max<LONG>(area.right, filled),
               inner.bottom};
    if (empty.left < empty.right) FillRect(dc, &empty, GetSysColorBrush(COLOR_WINDOW));
}

// Sets a new maximum or value; only the columns whose colour changes are painted again, so a bar set
// after every one of thousands of files paints as often as its filled part grows by a pixel.
void changeBar(HWND bar, BarState &state, int32_t maximum, int32_t value) {
    const int width = innerWidth(bar);
    const int before = filledWidth(state.value, state.maximum, width);
    state.maximum = maximum;
    state.value = value;
    const int after = filledWidth(state.value, state.maximum, width);
    if (before == after) return;
    RECT changed;
    GetClientRect(bar, &changed);
    changed.left = std::min(before, after);
    changed.right = std::max(before, after);
    InvalidateRect(bar, &changed, FALSE);
}

} // namespace

std::vector<ProgressBand> progressBands(int filled, int innerWidth) {
    std::vector<ProgressBand> bands;
    for (int x = 0; x < filled; ++x) {
        const COLORREF colour = columnColour(x, innerWidth);
        if (!bands.empty() && bands.back().colour == colour)
            bands.back().right = x + 1;
        else
            bands.push_back({x, x + 1, colour});
    }
    return bands;
}

namespace {

LRESULT CALLBACK barProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    BarState *state = stateOf(bar);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(bar, 0, reinterpret_cast<LONG_PTR>(new (std::nothrow) BarState));
        break;
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(bar, 0, 0);
        break;
    case PBQ_SETMAXIMUM:
        if (state) changeBar(bar, *state, static_cast<int32_t>(wParam), state->value);
        return 0;
    case PBQ_SETVALUE:
        if (state) changeBar(bar, *state, state->maximum, static_cast<int32_t>(wParam));
        return 0;
    case PBQ_SETSYSTEMCOLOURS:
        if (state && state->systemColours != (wParam != 0)) {
            state->systemColours = wParam != 0;
            InvalidateRect(bar, nullptr, FALSE);
        }
        return 0;
    case PBQ_GETMAXIMUM: return state ? state->maximum : 0;
    case PBQ_GETVALUE: return state ? state->value : 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (state) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(bar, &paint);
            drawBar(bar, dc, *state, paint.rcPaint);
            EndPaint(bar, &paint);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (state) {
            RECT whole;
            GetClientRect(bar, &whole);
            drawBar(bar, reinterpret_cast<HDC>(wParam), *state, whole);
        }
        return 0;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

} // namespace

int filledWidth(int32_t value, int32_t maximum, int innerWidth) {
    if (maximum <= 0 || value <= 0) return 0;
    const int64_t clamped = std::min<int64_t>(value, maximum);
    return static_cast<int>(clamped * innerWidth / maximum);
}

const char *progressBarClassName() {
    static const char *name = [] {
        WNDCLASSEXW bar{};
        bar.cbSize = sizeof bar;
        bar.lpfnWndProc = barProcedure;
        bar.cbWndExtra = sizeof(BarState *);
        bar.hInstance = GetModuleHandleW(nullptr);
        bar.hCursor = LoadCursor(nullptr, IDC_ARROW);
        bar.lpszClassName = L"QuillmereProgressBar";
        RegisterClassExW(&bar);
        return "QuillmereProgressBar";
    }();
    return name;
}
