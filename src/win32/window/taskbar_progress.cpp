#include "window/taskbar_progress.h"

TaskbarButton::TaskbarButton() : buttonCreated_(RegisterWindowMessageW(L"TaskbarButtonCreated")) {}

void TaskbarButton::attach(HWND window) {
    window_ = window;
    // An elevated program hears the taskbar (which is not elevated) only through the message filter.
    if (buttonCreated_) ChangeWindowMessageFilterEx(window, buttonCreated_, MSGFLT_ALLOW, nullptr);
}

// The interface may be used only once the button exists; the taskbar says so with this message, again
// after it has been restarted.
void TaskbarButton::windowMessage(UINT message) {
    if (message != buttonCreated_ || !buttonCreated_ || !window_) return;
    if (list_.create(__uuidof(TaskbarList)) && FAILED(list_->HrInit())) list_.reset();
}

void TaskbarButton::setProgress(std::uint64_t done, std::uint64_t total) {
    if (list_) list_->SetProgressValue(window_, done, total);
}

void TaskbarButton::setError() { setState(TBPF_ERROR); }
void TaskbarButton::clear() { setState(TBPF_NOPROGRESS); }

void TaskbarButton::setState(TBPFLAG state) {
    if (list_) list_->SetProgressState(window_, state);
}
