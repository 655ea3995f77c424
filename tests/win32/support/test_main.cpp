// The Windows tests run as a GUI-less program on the one user-interface thread, as the program does.
#include "win.h"

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
