// The program's own progress bar, drawn into a bitmap as the main window shows it, and the progress a
// run shows on the taskbar button.
#include "form_fixture.h"

#include "main/frm_main.h"
#include "main/run_progress.h"
#include "window/progress_bar.h"

#include <vector>

namespace {

// Draws the bar into a bitmap and reads back one pixel per column (middle row).
std::vector<COLORREF> barColumns(HWND bar) {
    RECT client;
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageA(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    std::vector<COLORREF> columns;
    for (int x = 0; x < client.right; ++x) columns.push_back(GetPixel(memory, x, client.bottom / 2));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return columns;
}

// One pixel per column (middle row) as the bar shows on screen, after the system has painted it.
std::vector<COLORREF> shownColumns(HWND bar) {
    UpdateWindow(bar);
    RECT client;
    GetClientRect(bar, &client);
    HDC dc = GetDC(bar);
    std::vector<COLORREF> columns;
    for (int x = 0; x < client.right; ++x) columns.push_back(GetPixel(dc, x, client.bottom / 2));
    ReleaseDC(bar, dc);
    return columns;
}

RECT pendingUpdate(HWND bar) {
    RECT update{};
    GetUpdateRect(bar, &update, FALSE);
    return update;
}

class ProgressBarTest : public FormTest {};

TEST_F(ProgressBarTest, FillsItsShareFromCyanTowardsBlue) {
    ProgressBar &bar = controls(main()).progressBar;
    bar.setMax(4);
    bar.setValue(2);
    EXPECT_EQ(bar.max(), 4);
    EXPECT_EQ(bar.value(), 2);
    const std::vector<COLORREF> columns = barColumns(bar.hwnd());
    const size_t half = columns.size() / 2;
    EXPECT_EQ(columns.front(), RGB(0, 255, 255));
    EXPECT_EQ(GetRValue(columns[half - 1]), 0);
    EXPECT_EQ(GetBValue(columns[half - 1]), 255);
    EXPECT_LT(GetGValue(columns[half - 1]), 140); // half-way along the bar, half-way to blue
    EXPECT_GT(GetGValue(columns[half - 1]), 110);
    EXPECT_EQ(columns[half + 1], GetSysColor(COLOR_WINDOW));
}

TEST_F(ProgressBarTest, EmptyAtZeroAndFullAtItsMaximum) {
    ProgressBar &bar = controls(main()).progressBar;
    bar.setMax(3);
    bar.setValue(0);
    for (COLORREF column : barColumns(bar.hwnd())) ASSERT_EQ(column, GetSysColor(COLOR_WINDOW));
    bar.setValue(3);
    const std::vector<COLORREF> full = barColumns(bar.hwnd());
    EXPECT_EQ(full.back(), RGB(0, 0, 255));
    EXPECT_EQ(filledWidth(7, 3, 100), 100); // past the maximum stays full
    EXPECT_EQ(filledWidth(5, 0, 100), 0);   // no maximum, nothing to show
}

// A file of 8 MiB is large, one byte less is not. The bytes of both reads are shown once at the
// first block and then at each new thousandth, never past the whole.
TEST_F(ProgressBarTest, TaskbarShowsTheBytesOfALargeFileByThousandthsAndNothingForASmallerOne) {
    const std::string large = writeFile("large.txt", std::string(8 * 1024 * 1024, 'x'));
    const std::string small = writeFile("small.txt", std::string(8 * 1024 * 1024 - 1, 'x'));
    RunProgress progress(taskbar);
    progress.startBytes(small);
    progress.addBytes(8 * 1024 * 1024);
    progress.end();
    EXPECT_TRUE(taskbar.calls.empty());

    progress.startBytes(large);
    progress.addBytes(1);
    progress.addBytes(16775); // 16,776 of 16,777,216: still under a thousandth
    progress.addBytes(2);     // 16,778: the first thousandth
    progress.addBytes(16777216);
    progress.end();
    progress.end();
    EXPECT_EQ(taskbar.calls, (std::vector<std::string>{"progress 1/16777216", "progress 16778/16777216",
                                                       "progress 16777216/16777216", "clear"}));

    taskbar.calls.clear();
    progress.startBytes(temp() + "missing.txt"); // no length to read: shown as small
    progress.addBytes(100);
    progress.files(0, 0); // a folder pass with nothing listed
    progress.end();
    EXPECT_TRUE(taskbar.calls.empty());
}

// A folder run moves the bar after every file: a step that fills no further pixel asks for no paint,
// one that does asks for the changed columns alone, and the bar painted step by step (also back to
// empty) shows what it shows when drawn whole.
TEST_F(ProgressBarTest, PaintsOnlyTheColumnsAStepChanges) {
    FrmMain &frm = main();
    frm.show();
    ProgressBar &bar = controls(frm).progressBar;
    RECT client;
    GetClientRect(bar.hwnd(), &client);
    const int width = client.right;
    ASSERT_GT(width, 100);
    bar.setMax(width * 10);
    bar.setValue(0);
    UpdateWindow(bar.hwnd());

    bar.setValue(9); // less than a column's worth
    RECT update = pendingUpdate(bar.hwnd());
    EXPECT_TRUE(IsRectEmpty(&update));
    bar.setValue(width * 5); // half the bar
    update = pendingUpdate(bar.hwnd());
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, width / 2);
    UpdateWindow(bar.hwnd());
    bar.setValue(width * 5 + 10); // one column more
    update = pendingUpdate(bar.hwnd());
    EXPECT_EQ(update.left, width / 2);
    EXPECT_EQ(update.right, width / 2 + 1);

    for (int32_t value = width * 5 + 10; value <= width * 10; value += 37) {
        bar.setValue(value);
        UpdateWindow(bar.hwnd());
    }
    bar.setValue(width * 10);
    const std::vector<COLORREF> full = shownColumns(bar.hwnd());
    EXPECT_EQ(full.front(), RGB(0, 255, 255));
    EXPECT_EQ(full.back(), RGB(0, 0, 255));
    EXPECT_EQ(full, barColumns(bar.hwnd()));

    bar.setValue(width * 3); // back to three tenths
    const std::vector<COLORREF> shrunk = shownColumns(bar.hwnd());
    EXPECT_EQ(shrunk[width * 3 / 10 - 1], full[width * 3 / 10 - 1]);
    for (int x = width * 3 / 10; x < width; ++x) ASSERT_EQ(shrunk[x], GetSysColor(COLOR_WINDOW)) << x;
    bar.setValue(0);
    for (COLORREF column : shownColumns(bar.hwnd())) ASSERT_EQ(column, GetSysColor(COLOR_WINDOW));
}

} // namespace
