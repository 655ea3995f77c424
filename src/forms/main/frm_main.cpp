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
    : desktop_(desktop), registry_(registry), files_(moves), accessibility_(accessibility),
      colours_(accessibility), names_(accessibility), fileDialog_(desktop), runProgress_(taskbar) {}

FrmMain::~FrmMain() {
    // The window goes while this object is whole, so its unload runs also when the object dies first.
    destroyWindow();
    failedFilesWindow_.reset();
    failedClipboardWindow_.reset();
}

void FrmMain::load() { loadAtDpi(BaseWindow::dpiOf(nullptr)); }

void FrmMain::loadAtDpi(int dpi) {
    createWindow("QuillmereMain", "Quillmere", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                 mainClientWidthTwips, mainClientHeightTwips, nullptr, dpi, createMainMenu());
    if (!hwnd()) return;
    acceptDroppedFiles(hwnd());
    runProgress_.taskbar().attach(hwnd());
    tooltips_.attach(hwnd());
    bindControls();
    styleControls();
    loaded();
}

// The window was made at the screen's DPI; the monitor it now stands on may have another scale.
void FrmMain::show() {
    followSystemDpi();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    controls_.runButton.setFocus();
}

void FrmMain::close() {
    if (hwnd()) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void FrmMain::bindControls() {
    madeControls_.create(hwnd(), mainLayout(), tooltips_, dpi());
    ::bindControls(controls_, controlTable, madeControls_, "frmMain", &tooltips_, &colours_);
}

void FrmMain::styleControls() {
    Controls &c = controls_;
    // Themed option buttons ignore caption colours; the operation highlight needs them.
    for (HWND option : {c.clipboardOption.hwnd(), c.singleFileOption.hwnd(), c.multipleFilesOption.hwnd()}) {
        SetWindowTheme(option, L"", L"");
        colours_.setText(option, operationOtherColour);
    }
    for (const Label *label :
         {&c.sourceFileLabel, &c.destinationFileLabel, &c.sourceFolderLabel, &c.destinationFolderLabel,
          &c.clipboardLabel, &c.spacesLabel, &c.fileCountLabel, &c.statusLabel})
        colours_.setTransparent(label->hwnd());
    colours_.setText(c.statusLabel.hwnd(), 0x00C00000); // dark blue
    // The frames' captions are the program's too: the settings frame shows its own.
    for (const Frame *frame :
         {&c.clipboardFrame, &c.singleFileFrame, &c.multipleFilesFrame, &c.settingsFrame})
        colours_.setButtonFaceBackground(frame->hwnd());
    colourSchemeChanged();
    for (HWND box :
         {c.sourceFileBox.hwnd(), c.destinationFileBox.hwnd(), c.sourceFolderBox.hwnd(),
          c.destinationFolderBox.hwnd(), c.spacesBox.hwnd(), c.workList.hwnd(), c.extensionBox.hwnd()})
        colours_.setButtonFaceBackground(box);

    // A screen reader names a control by its own text or the label before it; these have neither.
    names_.give(c.workList.hwnd(), "Files to convert");
    names_.give(c.extensionBox.hwnd(), "Extension of the files to convert");
    names_.give(c.progressBar.hwnd(), "Progress");
    names_.give(c.spacesUpDown.hwnd(), "Number of Spaces");

    SendMessageW(c.spacesUpDown.hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(c.spacesBox.hwnd()), 0);
    SendMessageW(c.spacesUpDown.hwnd(), UDM_SETRANGE32, 1, 16);
    SendMessageW(c.spacesUpDown.hwnd(), UDM_SETPOS32, 0, 8);
    // Wine's up-down takes a width of its own with its buddy; the designed one comes back.
    madeControls_.place(dpi());

    for (HWND watched : {c.sourceFileBox.hwnd(), c.destinationFileBox.hwnd(), c.sourceFolderBox.hwnd(),
                         c.destinationFolderBox.hwnd(), c.spacesBox.hwnd(), c.workList.hwnd()})
        watchMouse(watched, *this);
}

LRESULT FrmMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    runProgress_.taskbar().windowMessage(message);
    if (const auto answer = colours_.answerMessage(message, wParam, lParam)) return *answer;
    switch (message) {
    case WM_COMMAND: onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam), LOWORD(wParam)); return 0;
    case WM_CLOSE:
        if (deferCloseDuringRun()) return 0;
        closing();
        destroyWindow();
        return 0;
    case WM_DROPFILES: filesDropped(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DESTROY: names_.takeBackAll(); break;
    case WM_QUERYENDSESSION: return sessionEnding();
    case WM_ENDSESSION: sessionEnds(wParam != 0); return 0;
    case WM_HELP: return TRUE;
    case WM_SETCURSOR:
        // The wait cursor over the window and its controls while a run works; not while a message
        // of the run waits for the user (the window is disabled then).
        if (run_.running && IsWindowEnabled(hwnd())) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    }
    return BaseWindow::handleMessage(message, wParam, lParam);
}

void FrmMain::windowDestroyed() { unloaded(); }

void FrmMain::layOutAtDpi(int dpi) { madeControls_.layOut(dpi); }

void FrmMain::colourSchemeChanged() {
    const bool highContrast = colours_.highContrast();
    Controls &c = controls_;
    c.progressBar.useSystemColours(highContrast);
    for (const Frame *frame :
         {&c.clipboardFrame, &c.singleFileFrame, &c.multipleFilesFrame, &c.settingsFrame})
        themeFrameForScheme(frame->hwnd(), highContrast);
}

// A run holds the failed-files window and the controls it reports to while it lets the window handle
// its messages between files; closing now would free them under it. The close is remembered, the run
// stops after its current file, and the run button closes the window then.
bool FrmMain::deferCloseDuringRun() {
    if (!run_.running) return false;
    run_.closeRequested = true;
    return true;
}

void FrmMain::onCommand(HWND control, WORD code, WORD id) {
    Controls &c = controls_;
    if (!control && id == menuHelpId) return helpClicked();
    // Enter arrives as the OK command: it presses the focused push button and nothing else.
    if (!control && id == IDOK) return pressFocusedPushButton(hwnd());
    if (id == IDCANCEL) return close();
    if (code == CBN_SELCHANGE && control == c.extensionBox.hwnd()) return extensionChosen();
    if (code != BN_CLICKED) return;
    // Option buttons are checked here, so each group holds one choice however it was clicked.
    for (OptionButton *option : {&c.clipboardOption, &c.singleFileOption, &c.multipleFilesOption,
                                 &c.tabStopsOption, &c.fixedSpacesOption})
        if (control == option->hwnd()) option->setValue(true);
    if (control == c.runButton.hwnd()) return runClicked();
    if (control == c.aboutButton.hwnd()) return aboutClicked();
    for (const OptionButton *option : {&c.clipboardOption, &c.singleFileOption, &c.multipleFilesOption})
        if (control == option->hwnd()) return highlightOperation();
    if (control == c.browseSourceFileButton.hwnd()) return browseSourceFile();
    if (control == c.browseDestinationFileButton.hwnd()) return browseDestinationFile();
    if (control == c.browseSourceFolderButton.hwnd()) return browseSourceFolder();
    if (control == c.browseDestinationFolderButton.hwnd()) return browseDestinationFolder();
}

void FrmMain::childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    Controls &c = controls_;
    const float x = pointerTwips(static_cast<short>(LOWORD(lParam)));
    const float y = pointerTwips(static_cast<short>(HIWORD(lParam)));
    if (message == WM_MOUSEMOVE) {
        if (control == c.workList.hwnd())
            return workListMouseMove(mouseButtonState(wParam), shiftState(), x, y);
        for (TextBox *box :
             {&c.sourceFileBox, &c.destinationFileBox, &c.sourceFolderBox, &c.destinationFolderBox})
            if (control == box->hwnd()) return pathBoxMouseMove(*box);
        return;
    }
    if (control == c.spacesBox.hwnd()) spacesBoxMouseDown();
}

bool FrmMain::previewKey(const MSG &message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!hwnd() || GetAncestor(message.hwnd, GA_ROOT) != hwnd()) return false;
    keyDown(static_cast<int16_t>(message.wParam), shiftState());
    return false; // the focused control still receives the key
}

void FrmMain::unloaded() {
    if (quitOnUnload_) PostQuitMessage(0);
}
