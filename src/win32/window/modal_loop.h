// Runs a window modally over its owner, as a dialog box would.
#pragma once

#include "win.h"

void runModal(HWND window, HWND owner);

// Enables the owner that a modal window disabled; a window that goes must call it before it is
// destroyed, or Windows activates some other program's window instead of the owner.
void releaseModalOwner(HWND window);

// Lets pending messages be handled once (painting, clicks, keys), then returns.
void yieldToMessageLoop();

// As Windows does unless the user asked to see them always: the window starts without focus rectangles
// and access-key underlines, and they show once the keyboard is used in it (dispatchDialogKeys).
void hideKeyboardCuesUntilUsed(HWND window);

// Routes keyboard navigation of a message to the active window, showing the keyboard cues from the
// first navigation key; true when it was handled.
bool dispatchDialogKeys(MSG &message);
