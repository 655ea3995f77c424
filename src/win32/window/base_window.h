// A top-level window object: the window procedure finds the object and forwards to it, and no
// exception ever leaves the procedure (it could not unwind through the system's frames).
#pragma once

#include "win.h"

class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow &) = delete;
    BaseWindow &operator=(const BaseWindow &) = delete;
    virtual ~BaseWindow();

    HWND hwnd() const { return hwnd_; }
    bool isLoaded() const { return hwnd_ != nullptr; }

protected:
    // Registers the class on first use; the window's client area is sized to width x height pixels.
    void createWindow(const char *className, const char *caption, DWORD style, DWORD exStyle, int clientWidth,
                      int clientHeight, HWND owner, HMENU menu = nullptr);
    void destroyWindow();

    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called when the window is gone (WM_NCDESTROY), so the object can forget its children. A class
    // that overrides it destroys its window in its own destructor, while the override can still run.
    virtual void windowDestroyed() {}

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    HWND hwnd_ = nullptr;
};

// The program's icon from the resources, at the given size.
HICON programIcon(int size);
