#include "window/tooltips.h"

#include "wide_text.h"
#include "window/layout.h"

#include <commctrl.h>

namespace {

TOOLINFOW toolFor(HWND control, const wchar_t *text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t *>(text);
    return tool;
}

} // namespace

void Tooltips::attach(HWND owner) {
    tooltip_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void Tooltips::add(HWND control, const std::string &text) {
    const std::wstring wide = toWide(text);
    TOOLINFOW tool = toolFor(control, wide.c_str());
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::set(HWND control, const std::string &text) {
    TOOLINFOW probe = toolFor(control, nullptr);
    if (!SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe))) {
        add(control, text);
        return;
    }
    const std::wstring wide = toWide(text);
    TOOLINFOW tool = toolFor(control, wide.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The narrow message would also stop at 80 characters on some systems, while a path tip holds the
// whole path.
std::string Tooltips::text(HWND control) const {
    wchar_t buffer[1024] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = buffer;
    SendMessageW(tooltip_, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&tool));
    return toUtf8(buffer);
}

// The system gives its tooltip font (the status font) at the screen's DPI, which is all a tooltip
// knows of; a window on a monitor of another scale gives its tips that font scaled to its own.
void Tooltips::scaleTo(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!tooltip_ || dpi <= 0 || !SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return;
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, screenDpi());
    const HFONT font = CreateFontIndirectW(&metrics.lfStatusFont);
    if (!font) return;
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    font_.reset(font); // the former font goes once the tips no longer draw with it
}
