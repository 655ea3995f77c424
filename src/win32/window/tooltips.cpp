#include "window/tooltips.h"

#include <commctrl.h>

namespace {

TOOLINFOA toolFor(HWND control, const char *text) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char *>(text);
    return tool;
}

} // namespace

void Tooltips::attach(HWND owner) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void Tooltips::add(HWND control, const std::string &text) {
    TOOLINFOA tool = toolFor(control, text.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::set(HWND control, const std::string &text) {
    TOOLINFOA probe = toolFor(control, nullptr);
    if (!SendMessageA(tooltip_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&probe))) {
        add(control, text);
        return;
    }
    TOOLINFOA tool = toolFor(control, text.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Read back through the wide message: the narrow one stops at 80 characters on some systems,
// while a path tip holds the whole path.
std::string Tooltips::text(HWND control) const {
    wchar_t buffer[1024] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = buffer;
    SendMessageW(tooltip_, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&tool));
    char narrow[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, buffer, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}
