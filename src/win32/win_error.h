// Turns Windows error codes into the program's error numbers, in one place.
#pragma once

#include "app_error.h"
#include "win.h"

int32_t errorNumberForWin32(DWORD code);
[[noreturn]] void raiseWin32(DWORD code);
[[noreturn]] void raiseLastError();
