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

class ProgressBarTest : public FormTest {};

TEST_F(ProgressBarTest, FillsItsShareFromCyanTowardsBlue) {
    ProgressBar &bar = main().ProgressBar1;
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
    ProgressBar &bar = main().ProgressBar1;
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

} // namespace
