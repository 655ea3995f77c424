// The names a screen reader says for the controls whose own text, or the label before them, does
// not tell what they are for; given when the windows are made, taken back before their controls go.
#include "form_fixture.h"

#include "failed/frm_error.h"
#include "main/frm_main.h"
#include "window/accessibility.h"

#include <map>
#include <string>

namespace {

class ScreenReaderNames : public FormTest {};

TEST_F(ScreenReaderNames, EveryControlWithoutATextOfItsOwnIsNamedInTheWordsOfTheWindow) {
    FrmMain &frm = main();
    const std::map<HWND, std::string> mainNames{
        {controls(frm).workList.hwnd(), "Files to convert"},
        {controls(frm).extensionBox.hwnd(), "Extension of the files to convert"},
        {controls(frm).progressBar.hwnd(), "Progress"},
        {controls(frm).spacesUpDown.hwnd(), "Number of Spaces"}};
    EXPECT_EQ(accessibility.names, mainNames);
    FrmError &failed = frm.failedFilesWindow();
    EXPECT_EQ(accessibility.names.at(controls(failed).failedFilesList.hwnd()),
              "Files that could not be converted");
    EXPECT_EQ(accessibility.names.size(), 5u);
}

// Windows keeps an annotation as long as it is not cleared: each window clears its names while its
// controls are still there, whichever way it goes.
TEST_F(ScreenReaderNames, EachWindowTakesItsNamesBackWhileItsControlsStillExist) {
    FrmMain &frm = main();
    const HWND failedList = controls(frm.failedFilesWindow()).failedFilesList.hwnd();
    shared(frm.failedFilesWindow()).proceedButton.click();
    ASSERT_EQ(accessibility.cleared.size(), 1u);
    EXPECT_EQ(accessibility.cleared[0].control, failedList);
    EXPECT_TRUE(accessibility.cleared[0].controlExisted);
    EXPECT_EQ(accessibility.names.size(), 4u);

    frm.failedFilesWindow(); // loaded again, named again
    EXPECT_EQ(accessibility.names.size(), 5u);
    frm.close(); // the failed-files window goes with the main window
    EXPECT_TRUE(accessibility.names.empty());
    EXPECT_EQ(accessibility.cleared.size(), 6u);
    for (const auto &clear : accessibility.cleared) EXPECT_TRUE(clear.controlExisted);
}

// Wine's Dynamic Annotation answers E_NOTIMPL, and a system may lack it: the windows are made, work and
// go as usual, with nothing to take back.
TEST_F(ScreenReaderNames, WhereTheSystemRefusesNamesTheWindowsWorkAsUsual) {
    accessibility.namesRefused = true;
    FrmMain &frm = main();
    ASSERT_TRUE(frm.isLoaded());
    EXPECT_EQ(accessibility.asked, 4) << "each name was offered";
    controls(frm).singleFileOption.click();
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationSelectedColour);
    FrmError &failed = frm.failedFilesWindow();
    failed.addFailedFile("c:\\held.txt");
    EXPECT_EQ(failed.failedFileCount(), 1);
    frm.close();
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_TRUE(accessibility.cleared.empty());
}

// The program's own implementation, under Wine: the system refuses (or, on Windows, takes) the names,
// and the window is made and goes the same either way.
TEST_F(ScreenReaderNames, TheSystemsOwnServiceLeavesTheWindowWhole) {
    SystemAccessibility system;
    FrmMain frm(desk, registry, systemMoves, taskbar, system);
    frm.setQuitOnUnload(false);
    frm.load();
    ASSERT_TRUE(frm.isLoaded());
    EXPECT_EQ(controls(frm).workList.listCount(), 0);
    controls(frm).multipleFilesOption.click();
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    frm.close();
    EXPECT_FALSE(frm.isLoaded());
}

} // namespace
