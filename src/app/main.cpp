#include "startup.h"
#include "win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Main(); }
