// The program's windows on a monitor of another scale: Windows tells a window its new DPI
// (WM_DPICHANGED) and the window is laid out as if it had opened there; the windows it opens follow.
#include "form_fixture.h"

#include "about/frm_about.h"
#include "failed/frm_error.h"
#include "failed/frm_error_clipboard.h"
#include "main/frm_main.h"
#include "window/layout.h"
#include "window/progress_bar.h"

#include <algorithm>
#include <commctrl.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

void changeDpi(HWND window, int dpi, const RECT &suggested) {
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

SIZE clientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

LONG fontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// The tooltip window that a top-level window owns.
HWND tooltipOf(HWND owner) {
    for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
         tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr))
        if (GetWindow(tip, GW_OWNER) == owner) return tip;
    return nullptr;
}

// Every control of the main window with its name, the panels included.
std::vector<std::pair<std::string, HWND>> controlsOf(const FrmMain &frm) {
    std::vector<std::pair<std::string, HWND>> all = {
        {"cmdReplaceTABS", controls(frm).runButton.hwnd()},
        {"cmdAbout", controls(frm).aboutButton.hwnd()},
        {"cmdExit", controls(frm).exitButton.hwnd()},
        {"optClipboard", controls(frm).clipboardOption.hwnd()},
        {"optSingle", controls(frm).singleFileOption.hwnd()},
        {"optMultiple", controls(frm).multipleFilesOption.hwnd()},
        {"FrameClipboard", controls(frm).clipboardFrame.hwnd()},
        {"FrameSingle", controls(frm).singleFileFrame.hwnd()},
        {"FrameMultiple", controls(frm).multipleFilesFrame.hwnd()},
        {"FrameSettings", controls(frm).settingsFrame.hwnd()},
        {"lblHDDENnrOfFiles", controls(frm).hiddenFileCountLabel.hwnd()},
        {"lblHDDENTextonClipboard", controls(frm).hiddenClipboardTextLabel.hwnd()},
        {"picClipboard", GetParent(controls(frm).clipboardLabel.hwnd())},
        {"Label5", controls(frm).clipboardLabel.hwnd()},
        {"picSingle", GetParent(controls(frm).sourceFileBox.hwnd())},
        {"Label1", controls(frm).sourceFileLabel.hwnd()},
        {"txtSource", controls(frm).sourceFileBox.hwnd()},
        {"cmdGetSourceFile", controls(frm).browseSourceFileButton.hwnd()},
        {"Label2", controls(frm).destinationFileLabel.hwnd()},
        {"txtDest", controls(frm).destinationFileBox.hwnd()},
        {"cmdGetSaveFile", controls(frm).browseDestinationFileButton.hwnd()},
        {"picMultiple", GetParent(controls(frm).workList.hwnd())},
        {"Label3", controls(frm).sourceFolderLabel.hwnd()},
        {"txtMultipleFilesPath", controls(frm).sourceFolderBox.hwnd()},
        {"cmdBrowseDir", controls(frm).browseSourceFolderButton.hwnd()},
        {"Label4", controls(frm).destinationFolderLabel.hwnd()},
        {"txtMultipleFilesDestinationPath", controls(frm).destinationFolderBox.hwnd()},
        {"cmdBrowseDir2Save", controls(frm).browseDestinationFolderButton.hwnd()},
        {"List1", controls(frm).workList.hwnd()},
        {"Combo1", controls(frm).extensionBox.hwnd()},
        {"ProgressBar1", controls(frm).progressBar.hwnd()},
        {"lblNumberofiles", controls(frm).fileCountLabel.hwnd()},
        {"lblVerify", controls(frm).statusLabel.hwnd()},
        {"picSettings", GetParent(controls(frm).tabStopsOption.hwnd())},
        {"optFixedTABS", controls(frm).tabStopsOption.hwnd()},
        {"optFixedSpaces", controls(frm).fixedSpacesOption.hwnd()},
        {"Label6", controls(frm).spacesLabel.hwnd()},
        {"txtSpacesToUse", controls(frm).spacesBox.hwnd()},
        {"UpDown1", controls(frm).spacesUpDown.hwnd()},
        {"Image1", controls(frm).spacesBoxFrame.hwnd()},
    };
    return all;
}

// The controls of `moved` stand as those of `opened`, name by name: place, size and font. Labels whose
// caption changed (the count is " Waiting ..." before the window's load lists the folder) are widened
// to each caption they had, so only their top, height and the edge they are aligned to count.
void expectLaidOutAlike(const FrmMain &moved, const FrmMain &opened,
                        const std::vector<std::string> &recaptioned) {
    const auto was = controlsOf(moved), is = controlsOf(opened);
    ASSERT_EQ(was.size(), is.size());
    for (std::size_t i = 0; i < was.size(); ++i) {
        SCOPED_TRACE(was[i].first);
        const RECT a = placeInParent(was[i].second), b = placeInParent(is[i].second);
        EXPECT_EQ(a.top, b.top);
        EXPECT_EQ(a.bottom, b.bottom);
        const bool captionChanged =
            std::find(recaptioned.begin(), recaptioned.end(), was[i].first) != recaptioned.end();
        const bool rightAligned = (GetWindowLongPtrW(was[i].second, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT;
        if (!captionChanged || !rightAligned) EXPECT_EQ(a.left, b.left);
        if (!captionChanged || rightAligned) EXPECT_EQ(a.right, b.right);
        EXPECT_EQ(fontHeight(was[i].second), fontHeight(is[i].second));
    }
}

class WindowScale : public FormTest {
protected:
    void TearDown() override {
        opened_.reset();
        FormTest::TearDown();
    }
    // The main window as it opens on a monitor of the given DPI.
    FrmMain &openedAt(int dpi) {
        opened_ = std::make_unique<FrmMain>(desk, registry, systemMoves, taskbar, accessibility);
        opened_->setQuitOnUnload(false);
        opened_->loadAtDpi(dpi);
        return *opened_;
    }

private:
    std::unique_ptr<FrmMain> opened_;
};

TEST_F(WindowScale, MainWindowMovedTo144DpiIsLaidOutAsItOpensThere) {
    FrmMain &frm = main();
    frm.show();
    const HWND tips = tooltipOf(frm.hwnd());
    ASSERT_TRUE(tips);
    EXPECT_EQ(fontHeight(tips), -11); // the system's tooltip font at the screen's 96 DPI
    changeDpi(frm.hwnd(), 144, {60, 50, 760, 1000});
    RECT frame;
    GetWindowRect(frm.hwnd(), &frame);
    EXPECT_EQ(frame.left, 60);
    EXPECT_EQ(frame.top, 50);
    EXPECT_EQ(clientSize(frm.hwnd()).cx, 632); // 6315 twips: 631.5 pixels at 144 DPI
    EXPECT_EQ(clientSize(frm.hwnd()).cy, 849);
    const RECT run = placeInParent(controls(frm).runButton.hwnd());
    EXPECT_EQ(run.left, 317);
    EXPECT_EQ(run.top, 792);
    EXPECT_EQ(run.right - run.left, 297);
    EXPECT_EQ(run.bottom - run.top, 41);
    EXPECT_EQ(fontHeight(controls(frm).sourceFileBox.hwnd()), -16); // 8 points
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
    EXPECT_EQ(fontHeight(tips), -17); // the tips' font scaled with the window: -16.5, rounded

    const FrmMain &opened = openedAt(144);
    EXPECT_EQ(clientSize(opened.hwnd()).cx, 632);
    expectLaidOutAlike(frm, opened, {"lblNumberofiles"});
}

// Windows opened over the main window take its scale: the About window made anew, the failed-files
// window made before the move as soon as it shows, and the clipboard's made after it.
TEST_F(WindowScale, WindowsOpenedOverTheMainWindowFollowItsScale) {
    FrmMain &frm = main();
    frm.show();
    FrmError &failed = frm.failedFilesWindow(); // loaded hidden at the screen's scale
    changeDpi(frm.hwnd(), 144, {0, 0, 700, 950});

    int aboutDpi = 0;
    SIZE aboutClient{};
    LONG titleHeight = 0;
    desk.modalActions.push_back([&](ModalWindow &window) {
        auto &about = dynamic_cast<FrmAbout &>(window);
        aboutDpi = about.dpi();
        aboutClient = clientSize(about.hwnd());
        titleHeight = fontHeight(controls(about).titleLabel.hwnd());
    });
    frm.aboutClicked();
    EXPECT_EQ(aboutDpi, 144);
    EXPECT_EQ(aboutClient.cx, 480); // 4800 x 3600 twips
    EXPECT_EQ(aboutClient.cy, 360);
    EXPECT_EQ(titleHeight, -27); // 13.5 points

    EXPECT_EQ(failed.dpi(), screenDpi());
    ShowWindow(failed.hwnd(), SW_SHOWNA);
    EXPECT_EQ(failed.dpi(), 144);
    EXPECT_EQ(clientSize(failed.hwnd()).cx, 608); // 6075 x 3780 twips
    EXPECT_EQ(clientSize(failed.hwnd()).cy, 378);
    EXPECT_EQ(fontHeight(controls(failed).failedFilesList.hwnd()), -16);
    const RECT picture = placeInParent(shared(failed).warningPicture.hwnd());
    EXPECT_EQ(picture.right - picture.left, 48); // 480 twips
    ICONINFO icon{};
    ASSERT_TRUE(GetIconInfo(
        reinterpret_cast<HICON>(SendMessageW(shared(failed).warningPicture.hwnd(), STM_GETICON, 0, 0)),
        &icon));
    BITMAP mask{};
    GetObjectW(icon.hbmMask, sizeof mask, &mask);
    DeleteObject(icon.hbmMask);
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
    EXPECT_EQ(mask.bmWidth, 48) << "an icon drawn at the new size, not stretched";
    ShowWindow(failed.hwnd(), SW_HIDE);

    EXPECT_EQ(frm.failedClipboardWindow().dpi(), 144);
    EXPECT_EQ(clientSize(frm.failedClipboardWindow().hwnd()).cy, 186); // 1860 twips
}

// Sends the window its new scale as Windows does: at the first yield to the message loop after the
// run has set the progress bar to 2, that is between the second and the third file. The bar notes the
// scale it sees when the run reaches the third file.
class ScaleChangeDuringRun {
public:
    explicit ScaleChangeDuringRun(HWND bar) : bar_(bar) {
        current = this;
        original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ScaleChangeDuringRun::procedure)));
    }
    ~ScaleChangeDuringRun() {
        SetWindowLongPtrW(bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        current = nullptr;
    }
    bool posted = false;
    int dpiAtThirdFile = 0;

private:
    static LRESULT CALLBACK procedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == PBQ_SETVALUE && wParam == 2 && !current->posted)
            current->posted = PostMessageW(GetAncestor(bar, GA_ROOT), WM_DPICHANGED, MAKEWPARAM(144, 144),
                                           reinterpret_cast<LPARAM>(&suggested)) != 0;
        if (message == PBQ_SETVALUE && wParam == 3)
            current->dpiAtThirdFile = BaseWindow::dpiOf(GetAncestor(bar, GA_ROOT));
        return CallWindowProcW(current->original_, bar, message, wParam, lParam);
    }
    static inline ScaleChangeDuringRun *current = nullptr;
    static inline const RECT suggested{20, 10, 720, 960};
    HWND bar_;
    WNDPROC original_;
};

TEST_F(WindowScale, AScaleChangeBetweenTwoFilesOfAFolderRunLeavesTheRunWhole) {
    const std::string source = temp() + "src\\", destination = temp() + "dst\\";
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA(destination.c_str(), nullptr);
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        writeFile(std::string("src\\") + name, "\tx\r\n");
    FrmMain &frm = main();
    frm.show();
    listTxtFiles(frm, source, destination, "4");
    controls(frm).multipleFilesOption.click();
    {
        ScaleChangeDuringRun change(controls(frm).progressBar.hwnd());
        frm.runClicked();
        ASSERT_TRUE(change.posted);
        EXPECT_EQ(change.dpiAtThirdFile, 144) << "the change came between the files";
    }
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        EXPECT_EQ(readFile(destination + name), "    x\r\n") << name;
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
    EXPECT_EQ(controls(frm).progressBar.max(), 5);
    EXPECT_EQ(controls(frm).progressBar.value(), 0) << "back to empty when the run ends";
    EXPECT_EQ(controls(frm).workList.listCount(), 5);
    EXPECT_FALSE(frm.runInProgress());
    EXPECT_EQ(frm.dpi(), 144);
    EXPECT_EQ(clientSize(frm.hwnd()).cx, 632);
    expectLaidOutAlike(frm, openedAt(144), {"lblNumberofiles", "lblVerify", "lblHDDENnrOfFiles"});
}

} // namespace
