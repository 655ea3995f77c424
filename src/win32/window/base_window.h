// A top-level window object: the window procedure finds the object and forwards to it, and no
// exception ever leaves the procedure (it could not unwind through the system's frames). The window
// is designed in twips and drawn at the DPI of its monitor: when that changes, it is laid out anew.
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
    // The DPI the window is laid out at.
    int dpi() const { return dpi_; }

    // The DPI a window is laid out at: for a window of the program its own, for any other what Windows
    // gives it, and for none the screen's. A window opened over another takes its owner's.
    static int dpiOf(HWND window);

protected:
    // Registers the class on first use; the client area is the designed width and height in twips, at
    // the given DPI.
    void createWindow(const char *className, const char *caption, DWORD style, DWORD exStyle,
                      int clientWidthTwips, int clientHeightTwips, HWND owner, int dpi, HMENU menu = nullptr);
    void destroyWindow();

    // Lays the window out again at another DPI, keeping its top-left corner (a window shown over
    // another follows its owner's scale this way).
    void rescaleTo(int dpi);
    // Takes the DPI Windows gave the window when it differs from the one it was made at.
    void followSystemDpi();

    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called when the window is gone (WM_NCDESTROY), so the object can forget its children. A class
    // that overrides it destroys its window in its own destructor, while the override can still run.
    virtual void windowDestroyed() {}
    // Fonts and controls again from the window's design at the new DPI; the window already has its
    // new size.
    virtual void layOutAtDpi(int dpi) { (void)dpi; }
    // The system's colours, its high-contrast setting or its theme changed; the window is drawn anew
    // right after.
    virtual void colourSchemeChanged() {}

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT onDpiChanged(int dpi, const RECT &suggested);
    void onSchemeChanged();
    bool scaledSizeFor(int dpi, SIZE &size) const;
    SIZE designClientSize(int dpi) const;
    void fitClientToDesign();

    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    int clientWidthTwips_ = 0, clientHeightTwips_ = 0;
};

// The program's icon from the resources, at the given size.
HICON programIcon(int size);
