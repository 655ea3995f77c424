// Closing the main window: settings saved, temporary files removed, the other windows unloaded,
// each step on its own.
#include "form_fixture.h"
#include "raw_registry.h"

#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "main/frm_main.h"

#include <fstream>

namespace {

class CloseSequence : public FormTest {};

TEST_F(CloseSequence, RemovesBothTemporaryFiles) {
    FrmMain &frm = main();
    const std::string temp1 = dataFolder() + "TEMP.txt", temp2 = dataFolder() + "TEMP2.txt";
    std::ofstream(temp1) << "left over";
    std::ofstream(temp2) << "left over";
    frm.close();
    EXPECT_FALSE(exists(temp1));
    EXPECT_FALSE(exists(temp2));
}

TEST_F(CloseSequence, UnloadsTheLoadedFailureWindows) {
    FrmMain &frm = main();
    const HWND failed = frm.failedFilesWindow().hwnd();
    const HWND clipboard = frm.failedClipboardWindow().hwnd();
    ASSERT_TRUE(IsWindow(failed) && IsWindow(clipboard));
    controls(frm).exitButton.click();
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(IsWindow(failed));
    EXPECT_FALSE(IsWindow(clipboard));
    EXPECT_FALSE(frm.failedFilesWindowLoaded() || frm.failedClipboardWindowLoaded());
}

TEST_F(CloseSequence, ATemporaryFileThatCannotGoStopsNothingElse) {
    FrmMain &frm = main();
    controls(frm).sourceFileBox.setText("kept through the close");
    const HWND failed = frm.failedFilesWindow().hwnd();
    const std::string temp1 = dataFolder() + "TEMP.txt", temp2 = dataFolder() + "TEMP2.txt";
    std::ofstream(temp1) << "read-only";
    std::ofstream(temp2) << "left over";
    SetFileAttributesA(temp1.c_str(), FILE_ATTRIBUTE_READONLY);
    frm.close();
    SetFileAttributesA(temp1.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(frm.isLoaded());
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_NE(desk.messages()[0].text.find("frmMain - KillTempFile1"), std::string::npos);
    EXPECT_EQ(rawGetString(settingsKeyPath, "SourceS").value_or(""), "kept through the close");
    EXPECT_FALSE(exists(temp2));
    EXPECT_FALSE(IsWindow(failed));
}

} // namespace
