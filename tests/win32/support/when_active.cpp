#include "when_active.h"

#include <cstring>
#include <stdexcept>

namespace {

WhenActive *current = nullptr;
const UINT runStep = WM_APP + 1;
const UINT_PTR deadlineTimer = 1;
const char *const helperClass = "QuillmereTestWhenActive";

void registerHelperClass(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = helperClass;
    registered = RegisterClassA(&windowClass) != 0;
}

} // namespace

WhenActive::WhenActive(Matches matches, Step step, DWORD deadlineMs, Step onDeadline)
    : matches_(std::move(matches)), step_(std::move(step)), onDeadline_(std::move(onDeadline)) {
    if (current) throw std::logic_error("one WhenActive at a time");
    registerHelperClass(helperProc);
    helper_ = CreateWindowA(helperClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    if (!helper_ || !hook_) throw std::runtime_error("no activation hook");
    current = this;
    SetTimer(helper_, deadlineTimer, deadlineMs, nullptr);
    // A window that is active already sends no activation.
    const HWND active = GetActiveWindow();
    if (active && matches_(active)) {
        seen_ = active;
        posted_ = PostMessageA(helper_, runStep, 0, 0) != 0;
    }
}

WhenActive::~WhenActive() {
    current = nullptr;
    UnhookWindowsHookEx(hook_);
    KillTimer(helper_, deadlineTimer);
    DestroyWindow(helper_);
}

LRESULT CALLBACK WhenActive::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    WhenActive *self = current;
    if (code == HCBT_ACTIVATE && self && !self->posted_) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        // No exception may leave a hook: a matcher that throws is taken as no match.
        bool match = false;
        try {
            match = self->matches_(window);
        } catch (...) {
        }
        if (match) {
            self->seen_ = window;
            self->posted_ = PostMessageA(self->helper_, runStep, 0, 0) != 0;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WhenActive::helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WhenActive *self = current;
    if (!self || window != self->helper_) return DefWindowProcA(window, message, wParam, lParam);
    try {
        if (message == runStep && !self->ran_ && !self->deadlinePassed_) {
            // Activated and at once deactivated again (Wine hears of the display's focus later than
            // it activates): the step waits for the next activation.
            if (GetActiveWindow() != self->seen_) {
                self->posted_ = false;
                return 0;
            }
            self->ran_ = true;
            self->step_(self->seen_);
            return 0;
        }
        if (message == WM_TIMER && wParam == deadlineTimer) {
            KillTimer(window, deadlineTimer);
            self->deadlinePassed_ = true;
            if (self->onDeadline_) self->onDeadline_(self->seen_);
            return 0;
        }
    } catch (...) {
        // A step that throws ends nothing here: the test sees what it did not do.
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

struct Search {
    const char *className;
    const char *title;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM data) {
    Search &search = *reinterpret_cast<Search *>(data);
    char name[256] = {}, text[256] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(name, search.className) != 0 || (search.title && std::strcmp(text, search.title) != 0))
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

HWND threadWindow(const char *className, const char *title) {
    Search search{className, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
