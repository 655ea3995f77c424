// The program's own progress bar, the error message and its policies, and the path checks.
#include "win_fixture.h"

#include <fstream>

#include "app/appdata.h"
#include "errors/show_error.h"
#include "platform/handles.h"
#include "platform/progress_bar.h"
#include "platform/running_copy.h"
#include "run/path_checks.h"
#include "ui/frm_main.h"

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

// The program's manifest, as its resource holds it (the tests are built with the program's resources).
std::string programManifest() {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
    if (!found) return "";
    const char *bytes = static_cast<const char *>(LockResource(LoadResource(self, found)));
    return bytes ? std::string(bytes, SizeofResource(self, found)) : "";
}

// Without a requested execution level Windows virtualizes this 32-bit program's writes to protected
// folders (they land in the user's VirtualStore); the supportedOS entries keep Windows from
// treating it as a program of an older system.
TEST(ProgramManifest, RunsAsInvokerAndNamesWindows7To11) {
    const std::string manifest = programManifest();
    ASSERT_FALSE(manifest.empty());
    const auto trust = manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    ASSERT_NE(trust, std::string::npos);
    const auto level = manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>");
    ASSERT_NE(level, std::string::npos);
    EXPECT_GT(level, trust);
    EXPECT_LT(level, manifest.find("</trustInfo>"));
    const auto compatibility = manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    ASSERT_NE(compatibility, std::string::npos);
    for (const char *system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) // Windows 10 and 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system + "\"/>", compatibility),
                  std::string::npos)
            << system;
    // Visual styles and DPI awareness stay.
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
              std::string::npos);
}

class ProgressBarTest : public WinTest {};
class MainWindowLifetime : public WinTest {};

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

// One brush per colour, not one per pixel column: columns of one colour make one band.
TEST(ProgressBands, ColumnsOfOneColourShareABandAndTheBandsCoverTheFilledPart) {
    // Three columns: cyan, half-way (green 255 * 1 / 2 = 127 off), blue.
    EXPECT_EQ(progressBands(3, 3), (std::vector<ProgressBand>{{0, 1, RGB(0, 255, 255)},
                                                               {1, 2, RGB(0, 128, 255)},
                                                               {2, 3, RGB(0, 0, 255)}}));
    // 511 columns over 255 steps of green: two columns a colour, the last one alone.
    const std::vector<ProgressBand> wide = progressBands(511, 511);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide.front(), (ProgressBand{0, 2, RGB(0, 255, 255)}));
    EXPECT_EQ(wide[1], (ProgressBand{2, 4, RGB(0, 254, 255)}));
    EXPECT_EQ(wide.back(), (ProgressBand{510, 511, RGB(0, 0, 255)}));
    // A half-full bar stops half-way, at the colour of its last column.
    const std::vector<ProgressBand> half = progressBands(256, 511);
    ASSERT_FALSE(half.empty());
    EXPECT_EQ(half.back().right, 256);
    EXPECT_EQ(half.back().colour, RGB(0, 128, 255));
    EXPECT_TRUE(progressBands(0, 511).empty());
    EXPECT_EQ(progressBands(1, 1), (std::vector<ProgressBand>{{0, 1, RGB(0, 255, 255)}}));
}

TEST(RunningCopy, ASecondGuardSeesTheFirstAndTheNameIsFreeAgainOnceItIsGone) {
    const char *name = "Local\\Quillmere.RunningCopy.Test";
    {
        const RunningCopyGuard first(name);
        EXPECT_FALSE(first.anotherCopyRunning());
        const RunningCopyGuard second(name);
        EXPECT_TRUE(second.anotherCopyRunning());
    }
    const RunningCopyGuard again(name);
    EXPECT_FALSE(again.anotherCopyRunning());
}

// A first copy running elevated holds a mutex this copy may not open: that is a copy running too.
TEST(RunningCopy, AMutexThatCannotBeOpenedCountsAsAnotherCopy) {
    EXPECT_TRUE(anotherCopyFrom(false, ERROR_ACCESS_DENIED));
    EXPECT_TRUE(anotherCopyFrom(true, ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(anotherCopyFrom(true, ERROR_SUCCESS));
    EXPECT_FALSE(anotherCopyFrom(false, ERROR_INVALID_HANDLE));
}

// The main window's unload (which ends the message loop) runs also when the object goes first.
TEST_F(MainWindowLifetime, ObjectThatDiesFirstStillUnloadsItsWindow) {
    MSG leftover;
    while (PeekMessageA(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    HWND window = nullptr;
    {
        FrmMain frm;
        frm.load();
        window = frm.hwnd();
        ASSERT_TRUE(window);
    }
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
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

class ErrorMessage : public WinTest {};

TEST_F(ErrorMessage, ShowsTheSevenLinesUnderTitleErrorWithoutIcon) {
    showErrorMessage(AppError::of(5), "frmMain - countFILES");
    ASSERT_EQ(desk.messages().size(), 1u);
    const DesktopCall box = desk.messages()[0];
    EXPECT_EQ(box.text, "An Error was generated:\r\n\r\nDescription:\r\nError 5 - Invalid procedure call or "
                        "argument\r\nfrmMain - countFILES\r\n\r\nPlease inform the author with the error "
                        "description above.");
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style & MB_ICONMASK, 0u);
    EXPECT_EQ(box.style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
}

TEST_F(ErrorMessage, GuardEndsTheProcedureAfterTheMessageAndTheCallerGoesOn) {
    int stepsRun = 0;
    const bool finished = guarded("frmMain - KillTempFile1", [&] {
        ++stepsRun;
        raiseError(err::PermissionDenied);
        ++stepsRun;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(stepsRun, 1);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_NE(desk.messages()[0].text.find("Error 70 - Permission denied\r\nfrmMain - KillTempFile1"),
              std::string::npos);
    EXPECT_TRUE(guarded("frmMain - KillTempFile2", [] {}));
    EXPECT_EQ(desk.messages().size(), 1u);
}

TEST_F(ErrorMessage, UnknownFailuresStillReachTheUserAsTheProgramsOwnMessage) {
    guarded("frmMain - countFILES", [] { throw std::runtime_error("boom"); });
    guarded("frmMain - countFILES", [] { throw std::bad_alloc(); });
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_NE(desk.messages()[0].text.find("Error 50003 - Unexpected error"), std::string::npos);
    EXPECT_NE(desk.messages()[1].text.find("Error 7 - Out of memory"), std::string::npos);
}

class PathChecks : public WinTest {};

TEST_F(PathChecks, FileExistsOnlyForAFileThatCanBeReadNow) {
    const std::string file = writeFile("notes.txt", "a\tb");
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(temp() + "missing.txt"));
    EXPECT_FALSE(fileExists(temp()));                       // a folder
    EXPECT_FALSE(fileExists(temp().substr(0, temp().size() - 1)));
    EXPECT_FALSE(fileExists(placeholderText));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(temp() + "bad|name?.txt"));
    FileHandle exclusive(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive.valid());
    EXPECT_FALSE(fileExists(file));
}

TEST_F(PathChecks, DirExistsWithOrWithoutTrailingBackslashAndNotForFiles) {
    const std::string folder = temp() + "sub folder";
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(DirExists(folder));
    EXPECT_TRUE(DirExists(folder + "\\"));
    EXPECT_FALSE(DirExists(temp() + "nowhere"));
    EXPECT_FALSE(DirExists(writeFile("plain.txt", "x")));
    EXPECT_FALSE(DirExists(placeholderText));
}

class DataFolder : public WinTest {};

TEST_F(DataFolder, CreatesBothLevelsOnceAndEndsInABackslash) {
    const std::string root = specialFolderPath(26);
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root.back(), '\\');
    const std::string folder = appDataFolder("c:\\fallback");
    EXPECT_EQ(folder, root + "Hollowcrest software\\Quillmere\\");
    EXPECT_TRUE(folderExists(folder));
    EXPECT_TRUE(folderExists(folder + "\\\\"));
    EXPECT_EQ(appDataFolder("c:\\fallback"), folder);
}

TEST_F(DataFolder, AFileInTheWayGivesTheFallbackWithABackslash) {
    const std::string maker = specialFolderPath(26) + "Hollowcrest software";
    removeTree(maker);
    std::ofstream(maker) << "in the way";
    EXPECT_EQ(appDataFolder("c:\\program"), "c:\\program\\");
    EXPECT_EQ(appDataFolder("c:\\"), "c:\\");
    DeleteFileA(maker.c_str());
    EXPECT_EQ(appDataFolder("c:\\program"), maker + "\\Quillmere\\");
}

} // namespace
