#include "main/frm_main.h"
#include "main/main_layout.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace {

// Menu ids stay clear of the dialog command ids (IDOK, IDCANCEL ...), which the keyboard handling sends.
constexpr UINT menuHelpId = 40001;

HMENU createMainMenu() {
    HMENU project = CreatePopupMenu();
    AppendMenuW(project, MF_STRING, menuHelpId, L"Help\tF1");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(project), L"Project");
    return bar;
}

int16_t shiftState() {
    return static_cast<int16_t>(((GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0) |
                                ((GetKeyState(VK_CONTROL) & 0x8000) ? 2 : 0) |
                                ((GetKeyState(VK_MENU) & 0x8000) ? 4 : 0));
}

} // namespace

FrmMain::FrmMain(Desktop &desktop, const Registry &registry, FileMoves &moves, TaskbarProgress &taskbar,
                 Accessibility &accessibility)
    : CommonDialog1(desktop), runProgress(taskbar), desktop_(desktop), registry_(registry),
      accessibility_(accessibility), colours_(accessibility), names_(accessibility), files_(moves) {}

FrmMain::~FrmMain() {
    // The window goes while this object is whole, so its unload runs also when the object dies first.
    destroyWindow();
    frmErrorWindow_.reset();
    frmErrorClipboardWindow_.reset();
}

void FrmMain::load() { loadAtDpi(BaseWindow::dpiOf(nullptr)); }

void FrmMain::loadAtDpi(int dpi) {
    createWindow("QuillmereMain", "Quillmere", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                 mainClientWidthTwips, mainClientHeightTwips, nullptr, dpi, createMainMenu());
    if (!hwnd()) return;
    acceptDroppedFiles(hwnd());
    runProgress.taskbar().attach(hwnd());
    tooltips_.attach(hwnd());
    bindControls();
    Form_Load();
}

// The window was made at the screen's DPI; the monitor it now stands on may have another scale.
void FrmMain::show() {
    followSystemDpi();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    cmdReplaceTABS.setFocus();
}

void FrmMain::close() {
    if (hwnd()) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void FrmMain::bindControls() {
    const ControlMap &made = controls_.create(hwnd(), mainLayout(), tooltips_, dpi());
    auto bind = [&](auto &wrapper, const char *name) {
        wrapper = std::remove_reference_t<decltype(wrapper)>(made.at(name), &tooltips_, &colours_);
    };
    bind(cmdReplaceTABS, "cmdReplaceTABS");
    bind(cmdAbout, "cmdAbout");
    bind(cmdExit, "cmdExit");
    bind(optClipboard, "optClipboard");
    bind(optSingle, "optSingle");
    bind(optMultiple, "optMultiple");
    bind(FrameClipboard, "FrameClipboard");
    bind(FrameSingle, "FrameSingle");
    bind(FrameMultiple, "FrameMultiple");
    bind(FrameSettings, "FrameSettings");
    bind(lblHDDENnrOfFiles, "lblHDDENnrOfFiles");
    bind(lblHDDENTextonClipboard, "lblHDDENTextonClipboard");
    bind(Label5, "Label5");
    bind(Label1, "Label1");
    bind(Label2, "Label2");
    bind(txtSource, "txtSource");
    bind(txtDest, "txtDest");
    bind(cmdGetSourceFile, "cmdGetSourceFile");
    bind(cmdGetSaveFile, "cmdGetSaveFile");
    bind(Label3, "Label3");
    bind(Label4, "Label4");
    bind(lblNumberofiles, "lblNumberofiles");
    bind(lblVerify, "lblVerify");
    bind(txtMultipleFilesPath, "txtMultipleFilesPath");
    bind(txtMultipleFilesDestinationPath, "txtMultipleFilesDestinationPath");
    bind(cmdBrowseDir, "cmdBrowseDir");
    bind(cmdBrowseDir2Save, "cmdBrowseDir2Save");
    bind(List1, "List1");
    bind(Combo1, "Combo1");
    bind(ProgressBar1, "ProgressBar1");
    bind(optFixedTABS, "optFixedTABS");
    bind(optFixedSpaces, "optFixedSpaces");
    bind(Label6, "Label6");
    bind(txtSpacesToUse, "txtSpacesToUse");
    bind(UpDown1, "UpDown1");
    bind(Image1, "Image1");

    // Themed option buttons ignore caption colours; the operation highlight needs them.
    for (HWND option : {optClipboard.hwnd(), optSingle.hwnd(), optMultiple.hwnd()}) {
        SetWindowTheme(option, L"", L"");
        colours_.setText(option, operationOtherColour);
    }
    for (HWND label : {Label1.hwnd(), Label2.hwnd(), Label3.hwnd(), Label4.hwnd(), Label5.hwnd(),
                       Label6.hwnd(), lblNumberofiles.hwnd(), lblVerify.hwnd()})
        colours_.setTransparent(label);
    colours_.setText(lblVerify.hwnd(), 0x00C00000); // dark blue
    // The frames' captions are the program's too: the settings frame shows its own.
    for (HWND frame : {FrameClipboard.hwnd(), FrameSingle.hwnd(), FrameMultiple.hwnd(), FrameSettings.hwnd()})
        colours_.setButtonFaceBackground(frame);
    colourSchemeChanged();
    for (HWND box :
         {txtSource.hwnd(), txtDest.hwnd(), txtMultipleFilesPath.hwnd(),
          txtMultipleFilesDestinationPath.hwnd(), txtSpacesToUse.hwnd(), List1.hwnd(), Combo1.hwnd()})
        colours_.setButtonFaceBackground(box);

    // A screen reader names a control by its own text or the label before it; these have neither.
    names_.give(List1.hwnd(), "Files to convert");
    names_.give(Combo1.hwnd(), "Extension of the files to convert");
    names_.give(ProgressBar1.hwnd(), "Progress");
    names_.give(UpDown1.hwnd(), "Number of Spaces");

    SendMessageW(UpDown1.hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(txtSpacesToUse.hwnd()), 0);
    SendMessageW(UpDown1.hwnd(), UDM_SETRANGE32, 1, 16);
    SendMessageW(UpDown1.hwnd(), UDM_SETPOS32, 0, 8);
    // Wine's up-down takes a width of its own with its buddy; the designed one comes back.
    controls_.place(dpi());

    for (HWND watched : {txtSource.hwnd(), txtDest.hwnd(), txtMultipleFilesPath.hwnd(),
                         txtMultipleFilesDestinationPath.hwnd(), txtSpacesToUse.hwnd(), List1.hwnd()})
        watchMouse(watched, *this);
}

LRESULT FrmMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    runProgress.taskbar().windowMessage(message);
    if (const auto answer = colours_.answerMessage(message, wParam, lParam)) return *answer;
    switch (message) {
    case WM_COMMAND: onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam), LOWORD(wParam)); return 0;
    case WM_CLOSE:
        if (deferCloseDuringRun()) return 0;
        Form_QueryUnload();
        destroyWindow();
        return 0;
    case WM_DROPFILES: Form_DropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DESTROY: names_.takeBackAll(); break;
    case WM_QUERYENDSESSION: return sessionEnding();
    case WM_ENDSESSION: sessionEnds(wParam != 0); return 0;
    case WM_HELP: return TRUE;
    case WM_SETCURSOR:
        // The wait cursor over the window and its controls while a run works; not while a message
        // of the run waits for the user (the window is disabled then).
        if (running_ && IsWindowEnabled(hwnd())) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    }
    return BaseWindow::handleMessage(message, wParam, lParam);
}

void FrmMain::windowDestroyed() { Form_Unload(); }

void FrmMain::layOutAtDpi(int dpi) { controls_.layOut(dpi); }

void FrmMain::colourSchemeChanged() {
    const bool highContrast = colours_.highContrast();
    ProgressBar1.useSystemColours(highContrast);
    for (const Frame *frame : {&FrameClipboard, &FrameSingle, &FrameMultiple, &FrameSettings})
        themeFrameForScheme(frame->hwnd(), highContrast);
}

// A run holds the failed-files window and the controls it reports to while it lets the window handle
// its messages between files; closing now would free them under it. The close is remembered, the run
// stops after its current file, and the run button closes the window then.
bool FrmMain::deferCloseDuringRun() {
    if (!runInProgress()) return false;
    closeRequested_ = true;
    return true;
}

void FrmMain::onCommand(HWND control, WORD code, WORD id) {
    if (!control && id == menuHelpId) return menuHelp_Click();
    // Enter arrives as the OK command: it presses the focused push button and nothing else.
    if (!control && id == IDOK) return pressFocusedPushButton(hwnd());
    if (id == IDCANCEL) return cmdExit_Click();
    if (code == CBN_SELCHANGE && control == Combo1.hwnd()) return Combo1_Click();
    if (code != BN_CLICKED) return;
    // Option buttons are checked here, so each group holds one choice however it was clicked.
    for (OptionButton *option : {&optClipboard, &optSingle, &optMultiple, &optFixedTABS, &optFixedSpaces})
        if (control == option->hwnd()) option->setValue(true);
    if (control == cmdReplaceTABS.hwnd()) return cmdReplaceTABS_Click();
    if (control == cmdAbout.hwnd()) return cmdAbout_Click();
    if (control == optClipboard.hwnd()) return optClipboard_Click();
    if (control == optSingle.hwnd()) return optSingle_Click();
    if (control == optMultiple.hwnd()) return optMultiple_Click();
    if (control == cmdGetSourceFile.hwnd()) return cmdGetSourceFile_Click();
    if (control == cmdGetSaveFile.hwnd()) return cmdGetSaveFile_Click();
    if (control == cmdBrowseDir.hwnd()) return cmdBrowseDir_Click();
    if (control == cmdBrowseDir2Save.hwnd()) return cmdBrowseDir2Save_Click();
}

void FrmMain::childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const float x = pointerTwips(static_cast<short>(LOWORD(lParam)));
    const float y = pointerTwips(static_cast<short>(HIWORD(lParam)));
    if (message == WM_MOUSEMOVE) {
        if (control == List1.hwnd()) return List1_MouseMove(mouseButtonState(wParam), shiftState(), x, y);
        for (TextBox *box : {&txtSource, &txtDest, &txtMultipleFilesPath, &txtMultipleFilesDestinationPath})
            if (control == box->hwnd()) return pathBox_MouseMove(*box);
        return;
    }
    if (control == txtSpacesToUse.hwnd()) txtSpacesToUse_MouseDown();
}

bool FrmMain::previewKey(const MSG &message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!hwnd() || GetAncestor(message.hwnd, GA_ROOT) != hwnd()) return false;
    Form_KeyDown(static_cast<int16_t>(message.wParam), shiftState());
    return false; // the focused control still receives the key
}

void FrmMain::optClipboard_Click() { highlightOperation(); }
void FrmMain::optSingle_Click() { highlightOperation(); }
void FrmMain::optMultiple_Click() { highlightOperation(); }

void FrmMain::cmdExit_Click() { close(); }

void FrmMain::Form_Unload() {
    if (quitOnUnload_) PostQuitMessage(0);
}
