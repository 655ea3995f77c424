#include "window/dpi.h"

#include "window/layout.h"

namespace {

// Looked up once: a program for Windows 7 cannot link these calls.
template <class Function> Function user32Call(const char *name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowCall = UINT(WINAPI *)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI *)(int, UINT);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);

} // namespace

int systemDpiOfWindow(HWND window) {
    static const auto call = user32Call<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = call && window ? call(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

int systemMetricAtDpi(int index, int dpi) {
    static const auto call = user32Call<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    return call ? call(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

RECT frameAroundClient(RECT client, DWORD style, bool hasMenu, DWORD exStyle, int dpi) {
    static const auto call = user32Call<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    if (!call || !call(&client, style, hasMenu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, hasMenu, exStyle);
    return client;
}
