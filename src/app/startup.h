// The start routine: common controls, a single copy, the main window, the message loop.
#pragma once

int Main();
