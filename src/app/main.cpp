#include "app/startup.h"
#include "platform/win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Main(); }
