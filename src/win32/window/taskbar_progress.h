// Progress on a window's taskbar button (Windows 7 and later): a share done, red for an error, or
// nothing. The main window is handed a TaskbarProgress; TaskbarButton is the one over the system's
// taskbar, and where the system has no such taskbar every call of it does nothing.
#pragma once

#include "com_objects.h"
#include "win.h"

#include <cstdint>

#include <shobjidl.h>

class TaskbarProgress {
public:
    virtual ~TaskbarProgress() = default;
    // The window whose button shows the progress, once it is created.
    virtual void attach(HWND window) = 0;
    // Every message that window receives: the taskbar announces the button with a message of its own.
    virtual void windowMessage(UINT message) = 0;
    virtual void setProgress(std::uint64_t done, std::uint64_t total) = 0;
    virtual void setError() = 0; // the bar turns red
    virtual void clear() = 0;    // the button shows no progress
};

class TaskbarButton final : public TaskbarProgress {
public:
    TaskbarButton();
    void attach(HWND window) override;
    void windowMessage(UINT message) override;
    void setProgress(std::uint64_t done, std::uint64_t total) override;
    void setError() override;
    void clear() override;

    // True once the taskbar has announced the window's button and its interface is in hand: no call
    // reaches the taskbar before.
    bool ready() const { return static_cast<bool>(list_); }

private:
    void setState(TBPFLAG state);

    ComApartment apartment_;
    ComInterface<ITaskbarList3> list_;
    HWND window_ = nullptr;
    UINT buttonCreated_; // the taskbar's registered message
};
