// The failed-files windows: their design, the log they write and how they close.
#include "engine_support.h"
#include "form_fixture.h"

#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "locale_text.h"
#include "main/frm_main.h"
#include "modal_keys.h"
#include "window/layout.h"
#include "window/modal_loop.h"

namespace {

// A one-line label may be wider than designed where the system's font is: its caption is never cut.
void expectPlace(HWND control, int left, int top, int width, int height, bool mayWiden = false) {
    const int dpi = screenDpi();
    const RECT rect = placeInParent(control);
    EXPECT_EQ(rect.left, twipsToPixels(left, dpi));
    EXPECT_EQ(rect.top, twipsToPixels(top, dpi));
    if (mayWiden)
        EXPECT_GE(rect.right - rect.left, twipsToPixels(width, dpi));
    else
        EXPECT_EQ(rect.right - rect.left, twipsToPixels(width, dpi));
    EXPECT_EQ(rect.bottom - rect.top, twipsToPixels(height, dpi));
}

class FailedFiles : public FormTest {};

TEST_F(FailedFiles, WindowIsAHiddenToolWindowWithItsDesign) {
    FrmError &frm = main().failedFilesWindow();
    EXPECT_FALSE(IsWindowVisible(frm.hwnd()));
    EXPECT_EQ(windowText(frm.hwnd()), "Unable to convert:");
    EXPECT_TRUE(GetWindowLongPtrA(frm.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongPtrA(frm.hwnd(), GWL_STYLE) &
                 (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    RECT client;
    GetClientRect(frm.hwnd(), &client);
    EXPECT_EQ(client.right, twipsToPixels(6075, screenDpi()));
    EXPECT_EQ(client.bottom, twipsToPixels(3780, screenDpi()));
    EXPECT_EQ(shared(frm).headingLabel.caption(), "These files could not be handled :");
    EXPECT_EQ(controls(frm).saveButton.caption(), "&Save this info");
    EXPECT_EQ(shared(frm).proceedButton.caption(), "&Proceed");
    EXPECT_EQ(
        shared(frm).adviceLabel.caption(),
        "Quillmere does not handle files in use (by the system or by another program) and files that are "
        "not saved as plain text. Try to isolate these files (copy them to another location), save them as "
        "plain .TXT in the ANSI Character Set, and try again. ");
    expectPlace(shared(frm).headingLabel.hwnd(), 825, 210, 2400, 195, true);
    expectPlace(controls(frm).failedFilesList.hwnd(), 825, 495, 4845, 1425);
    expectPlace(shared(frm).warningPicture.hwnd(), 195, 870, 480, 480);
    expectPlace(shared(frm).adviceLabel.hwnd(), 825, 2130, 4830, 945);
    expectPlace(controls(frm).saveButton.hwnd(), 825, 3150, 2295, 405);
    expectPlace(shared(frm).proceedButton.hwnd(), 3375, 3150, 2295, 405);
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), nullptr, FALSE), shared(frm).proceedButton.hwnd());
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), shared(frm).proceedButton.hwnd(), FALSE),
              controls(frm).failedFilesList.hwnd());
    EXPECT_EQ(GetNextDlgTabItem(frm.hwnd(), controls(frm).failedFilesList.hwnd(), FALSE),
              controls(frm).saveButton.hwnd());
    ICONINFO icon{};
    ASSERT_TRUE(GetIconInfo(
        reinterpret_cast<HICON>(SendMessageA(shared(frm).warningPicture.hwnd(), STM_GETICON, 0, 0)), &icon));
    BITMAP mask{};
    GetObjectA(icon.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, twipsToPixels(480, screenDpi()));
    DeleteObject(icon.hbmMask);
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
}

TEST_F(FailedFiles, EntriesAreDrawnDarkRedOnTheButtonFace) {
    FrmError &frm = main().failedFilesWindow();
    HDC dc = GetDC(controls(frm).failedFilesList.hwnd());
    const LRESULT brush = SendMessageA(frm.hwnd(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(controls(frm).failedFilesList.hwnd()));
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(0x0000C0));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(brush, 0);
    ReleaseDC(controls(frm).failedFilesList.hwnd(), dc);
}

TEST_F(FailedFiles, SavingAppendsARecordEachTimeAndNamesTheLog) {
    FrmError &frm = main().failedFilesWindow();
    frm.addFailedFile("C:\\a\\one.txt");
    frm.addFailedFile("C:\\a\\two.txt");
    const std::string stamp = userShortDate() + " " + userTimeOfDay();
    frm.saveClicked();
    frm.saveClicked();
    const std::string log = dataFolder() + "errorlog.txt";
    const std::string record = "\r\n" + stamp + "\r\nC:\\a\\one.txt\r\nC:\\a\\two.txt\r\n";
    const std::string written = readFile(log);
    ASSERT_EQ(written.size(), 2 * record.size());
    // The clock may have moved on by a second between the two presses.
    const std::string lines = "\r\nC:\\a\\one.txt\r\nC:\\a\\two.txt\r\n";
    for (const std::string &half : {written.substr(0, record.size()), written.substr(record.size())}) {
        EXPECT_EQ(half.substr(0, 2 + userShortDate().size() + 1), "\r\n" + userShortDate() + " ");
        EXPECT_EQ(half.substr(half.size() - lines.size()), lines);
    }
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text, "Info was written to :\r\n" + log);
    EXPECT_EQ(desk.messages()[0].title, "Log updated");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(frm.failedFileCount(), 2);
    EXPECT_TRUE(main().failedFilesWindowLoaded());
}

TEST_F(FailedFiles, LogThatCannotBeWrittenShowsTheMessageAndTheWindowStays) {
    FrmError &frm = main().failedFilesWindow();
    frm.addFailedFile("C:\\a\\one.txt");
    CreateDirectoryA((dataFolder() + "errorlog.txt").c_str(), nullptr);
    frm.saveClicked();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].title, "Error");
    EXPECT_NE(desk.messages()[0].text.find("\r\nfrmError - cmdSave_Click\r\n"), std::string::npos);
    EXPECT_TRUE(main().failedFilesWindowLoaded());
    RemoveDirectoryA((dataFolder() + "errorlog.txt").c_str());
}

// "&Proceed" has the focus when the window shows: Enter and Space press it, Esc closes the window.
TEST_F(FailedFiles, EnterSpaceOrEscOnTheShownWindowUnloadsIt) {
    FrmMain &frm = main();
    frm.show();
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_SPACE), WPARAM(VK_ESCAPE)}) {
        FrmError &failed = frm.failedFilesWindow();
        failed.addFailedFile("C:\\one.txt");
        const HWND proceed = shared(failed).proceedButton.hwnd();
        const ModalKeyPress keyPress(key, failed.hwnd());
        runModal(failed.hwnd(), frm.hwnd());
        EXPECT_TRUE(keyPress.pressed()) << key;
        EXPECT_EQ(keyPress.focused(), proceed) << key;
        EXPECT_FALSE(keyPress.stillOpen()) << key;
        EXPECT_FALSE(frm.failedFilesWindowLoaded()) << key;
        EXPECT_TRUE(IsWindowEnabled(frm.hwnd())) << key;
    }
}

TEST_F(FailedFiles, ProceedUnloadsTheWindowAndTheNextUseStartsEmpty) {
    main().failedFilesWindow().addFailedFile("C:\\a\\one.txt");
    desk.modalActions.push_back([](ModalWindow &window) {
        static_cast<FrmError &>(window).saveClicked();
        shared(static_cast<FrmError &>(window)).proceedButton.click();
    });
    desk.showModal(main().failedFilesWindow(), main().hwnd());
    EXPECT_FALSE(main().failedFilesWindowLoaded());
    EXPECT_EQ(desk.of("modal").at(0).text, "frmError");
    EXPECT_EQ(desk.messages().at(0).title, "Log updated");
    EXPECT_EQ(main().failedFilesWindow().failedFileCount(), 0);
}

TEST_F(FailedFiles, HintShowsTheFailedEntryUnderThePointer) {
    FrmError &frm = main().failedFilesWindow();
    frm.addFailedFile("C:\\a\\one.txt");
    frm.failedListMouseMove(0, 0, 30, 30);
    EXPECT_EQ(controls(frm).failedFilesList.toolTipText(), " C:\\a\\one.txt ");
}

TEST_F(FailedFiles, ClipboardWindowHasItsDesignAndClosesByProceed) {
    FrmErrorClipboard &frm = main().failedClipboardWindow();
    EXPECT_EQ(windowText(frm.hwnd()), "Unable to convert:");
    RECT client;
    GetClientRect(frm.hwnd(), &client);
    EXPECT_EQ(client.bottom, twipsToPixels(1860, screenDpi()));
    EXPECT_EQ(shared(frm).headingLabel.caption(), "The data on the Clipboard could not be handled.");
    EXPECT_EQ(shared(frm).adviceLabel.caption(),
              "Save the Clipboard text as .TXT file in the ANSI Character Set, and try to convert it again.");
    expectPlace(shared(frm).adviceLabel.hwnd(), 840, 600, 4530, 540);
    expectPlace(shared(frm).proceedButton.hwnd(), 1845, 1200, 2295, 405);
    shared(frm).proceedButton.click();
    EXPECT_FALSE(main().failedClipboardWindowLoaded());
}

} // namespace
