#include "window/progress_bar.h"

#include <algorithm>
#include <new>

namespace {

struct BarState {
    int32_t maximum = 100;
    int32_t value = 0;
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

void drawBar(HWND bar, HDC dc, const BarState &state) {
    RECT inner;
    GetClientRect(bar, &inner);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_WINDOW));
    const int width = inner.right - inner.left;
    for (const ProgressBand &band : progressBands(filledWidth(state.value, state.maximum, width), width)) {
        HBRUSH brush = CreateSolidBrush(band.colour);
        if (!brush) return;
        RECT area{band.left, inner.top, band.right, inner.bottom};
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }
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
        if (state) state->maximum = static_cast<int32_t>(wParam);
        InvalidateRect(bar, nullptr, FALSE);
        return 0;
    case PBQ_SETVALUE:
        if (state) state->value = static_cast<int32_t>(wParam);
        InvalidateRect(bar, nullptr, FALSE);
        return 0;
    case PBQ_GETMAXIMUM: return state ? state->maximum : 0;
    case PBQ_GETVALUE: return state ? state->value : 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (state) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(bar, &paint);
            drawBar(bar, dc, *state);
            EndPaint(bar, &paint);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (state) drawBar(bar, reinterpret_cast<HDC>(wParam), *state);
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
