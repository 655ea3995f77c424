// Starting Quillmere: one copy at a time, its window, and closing it with Esc.
#include "scenario_fixture.h"

namespace {

class Startup : public Scenario {};

TEST_F(Startup, OpensTheMainWindowAndEscClosesIt) {
    QuillmereProcess quillmere;
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    EXPECT_NE(findChild(main, "Replace tabs with spaces !", "Button"), nullptr);
    HWND run = findChild(main, "Replace tabs with spaces !", "Button");
    PostMessageA(run, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(quillmere.waitForExit(10s));
}

TEST_F(Startup, SecondCopyIsRefusedAndTheFirstKeepsRunning) {
    QuillmereProcess first;
    HWND main = waitForWindow(first.id(), "Quillmere");
    ASSERT_NE(main, nullptr);

    QuillmereProcess second;
    HWND box = waitForWindow(second.id(), "Quillmere");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "Quillmere is already running.");
    EXPECT_EQ(findChild(box, "Replace tabs with spaces !"), nullptr);
    EXPECT_TRUE(pressOk(box));
    EXPECT_TRUE(second.waitForExit(10s));
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(IsWindow(main));
}

} // namespace
