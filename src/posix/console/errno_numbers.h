// The program's error numbers (app_error.h) for the errno values of the console program's own system
// calls: its standard streams, its spill file and its folder listings.
#pragma once

#include <cstdint>

// 70 busy, 75 access refused (and anything else), 52 bad name, 53 not found, 76 not a folder, 61 no
// space, 7 no memory.
std::int32_t consoleErrorNumber(int errnoValue);
[[noreturn]] void raiseConsoleError(int errnoValue);
