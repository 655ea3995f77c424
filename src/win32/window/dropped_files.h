// What was dropped on a window that accepts files (WM_DROPFILES): the paths, where they were dropped,
// and what each path names on disk.
#pragma once

#include "win.h"

#include <string>
#include <vector>

#include <shellapi.h>

struct DroppedFiles {
    std::vector<std::string> paths;
    bool inClientArea = false; // false for a drop on the title bar or the frame
    POINT point{};             // in the receiving window's client coordinates when inClientArea
};

// Reads the drop and releases it (DragFinish), also when reading fails.
DroppedFiles takeDroppedFiles(HDROP drop);

enum class PathKind { Missing, File, Folder };

// What the path names now; a path that cannot be looked at is Missing.
PathKind pathKind(const std::string &path) noexcept;

// True when the point (client coordinates of `window`) lies on the control.
bool pointOnControl(HWND window, POINT point, HWND control);

// Lets the window receive files dropped from Explorer, also when the program runs elevated and
// Explorer does not (the system would otherwise filter the drop's messages out).
void acceptDroppedFiles(HWND window);
