// The main window: its controls, the fields the conversion jobs share, and every handler and
// procedure that belongs to it. The procedures are defined beside this file, in files by concern.
#pragma once

#include "desktop/desktop.h"
#include "desktop/show_error.h"
#include "handles.h"
#include "main/browse_dialog.h"
#include "main/common_dialog.h"
#include "main/run_progress.h"
#include "registry.h"
#include "run_inputs.h"
#include "text_encoding.h"
#include "window/accessibility.h"
#include "window/base_window.h"
#include "window/control_colours.h"
#include "window/control_names.h"
#include "window/controls.h"
#include "window/dropped_files.h"
#include "window/layout.h"
#include "window/mouse_watch.h"
#include "window/tooltips.h"
#include "windows_file_system.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class RunUnderWay;
class FrmError;
class FrmErrorClipboard;
struct FolderDialogRequest;
struct FileDialogRequest;

inline const std::string placeholderText = notChosenText;
inline constexpr COLORREF operationSelectedColour = 0x00FF0000; // blue
inline constexpr COLORREF operationOtherColour = 0x00000000;    // black

// Raised between two files of a run when the main window was asked to close meanwhile: it ends every
// procedure of the run without a word, up to the run button, which then lets the window close.
struct RunStopped {};

class FrmMain final : public BaseWindow, private MouseListener {
public:
    // The window shows its messages, dialogs and other windows through the desktop, keeps its
    // settings through the registry, puts the jobs' destinations in place with the file moves, shows
    // a run's progress on the taskbar button, and follows the system's accessibility settings.
    FrmMain(Desktop &desktop, const Registry &registry, FileMoves &moves, TaskbarProgress &taskbar,
            Accessibility &accessibility);
    ~FrmMain() override;

    // Creates the window hidden and runs its load; show() makes it visible.
    void load();
    // The same, laid out for a monitor of the given DPI.
    void loadAtDpi(int dpi);
    void show();
    // The close request as Exit, Esc and the close box raise it.
    void close();
    // Lets the window see a key before its controls do; true when the key was consumed.
    bool previewKey(const MSG &message);
    // A message box over this window.
    int showMessage(const std::string &text, const std::string &title, UINT style) {
        return ::showMessage(desktop_, hwnd(), text, title, style);
    }

    // Controls on the window.
    Button cmdReplaceTABS, cmdAbout, cmdExit;
    OptionButton optClipboard, optSingle, optMultiple;
    Frame FrameClipboard, FrameSingle, FrameMultiple, FrameSettings;
    Label lblHDDENnrOfFiles, lblHDDENTextonClipboard;
    // Clipboard panel.
    Label Label5;
    // Single-file panel.
    Label Label1, Label2;
    TextBox txtSource, txtDest;
    Button cmdGetSourceFile, cmdGetSaveFile;
    // Multiple-files panel.
    Label Label3, Label4, lblNumberofiles, lblVerify;
    TextBox txtMultipleFilesPath, txtMultipleFilesDestinationPath;
    Button cmdBrowseDir, cmdBrowseDir2Save;
    ListBox List1;
    ComboBox Combo1;
    ProgressBar ProgressBar1;
    // Settings panel.
    OptionButton optFixedTABS, optFixedSpaces;
    Label Label6;
    TextBox txtSpacesToUse;
    Control UpDown1, Image1;
    // The file dialog both file pickers share; the destination folder picker's latest dialog.
    CommonDialog CommonDialog1;
    std::unique_ptr<BrowseDialog> objBD;

    // What a run keeps between its procedures. The hidden labels show the first two; nothing reads
    // them back. The number of files in the work list sizes the progress bar of a folder run.
    int32_t filesInList = 0;
    // The clipboard check found no text: the clipboard run ends there.
    bool noTextOnClipboard = false;
    // The encoding of each input that the last verification pass read, by its trimmed path.
    std::unordered_map<std::string, TextEncoding> verifiedEncodings;
    // What the run shows on the taskbar button.
    RunProgress runProgress;

    // The failed-files windows: loaded, hidden, on first use; unloaded when closed.
    FrmError &frmError();
    FrmErrorClipboard &frmErrorClipboard();
    bool frmErrorLoaded() const { return frmErrorWindow_ && frmErrorWindow_->isLoaded(); }
    bool frmErrorClipboardLoaded() const {
        return frmErrorClipboardWindow_ && frmErrorClipboardWindow_->isLoaded();
    }
    void unloadFrmError();
    void unloadFrmErrorClipboard();

    // Window events.
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void optClipboard_Click();
    void optSingle_Click();
    void optMultiple_Click();
    void cmdAbout_Click();
    void cmdExit_Click();
    void cmdReplaceTABS_Click();
    void Combo1_Click();
    void List1_MouseMove(int16_t button, int16_t shift, float x, float y);
    void cmdGetSourceFile_Click();
    void cmdGetSaveFile_Click();
    void cmdBrowseDir_Click();
    void cmdBrowseDir2Save_Click();
    void objBD_SelectionChanged(HWND dialog);
    void pathBox_MouseMove(TextBox &box);
    void txtSpacesToUse_MouseDown();
    void Form_KeyDown(int16_t keyCode, int16_t shift);
    void menuHelp_Click();
    void Form_DropFiles(HDROP drop);

    // A path given without a dialog, taken as its Browse button takes the dialog's choice.
    void takeSourceFile(const std::string &path);
    void takeSourceFolder(const std::string &path);
    void takeDestinationFolder(const std::string &path);

    // Mode switching.
    void highlightOperation();

    // Run sequences.
    void prevcmdReplaceTABSSingle();
    void prevcmdReplaceTABSMultiple();
    void prevcmdReplaceTABSClipboard();

    // Conversion jobs. A checking pass answers false when it ended on an error of its own (the
    // user has been told); no conversion pass follows it then.
    void KillTempFile1();
    void KillTempFile2();
    bool itemIsInList(const std::string &entry);
    bool replaceTABSwithSPACESVerifySingle();
    void replaceTWSfixedSingle();
    void replaceTABSwithSPACESSingle();
    bool replaceTABSwithSPACESVerifyMultiple();
    void removeErroredFiles();
    void replaceTWSfixedMultiple();
    void replaceTABSwithSPACESMultiple();
    bool replaceTABSwithSPACESVerifyClipboard();
    void replaceTWSfixedClipboard();
    void replaceTABSwithSPACESClipboard();

    // Work list and extension filter.
    void countFILES();
    void LoadComboFromFile(ComboBox &combo, const std::string &path);
    void LoadInternalList();
    void CreateList();

    // Settings.
    void restoreSettings();
    void saveSettings();

private:
    // The standard error policy (show_error.h) through this window's desktop; a stopped run is no
    // failure of a procedure and passes on.
    template <class Body> bool guarded(const std::string &procedureLine, Body &&body) {
        try {
            body();
            return true;
        } catch (const RunStopped &) {
            throw;
        } catch (...) {
            showErrorMessage(desktop_, caughtError(std::current_exception()), procedureLine);
            return false;
        }
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowDestroyed() override;
    void layOutAtDpi(int dpi) override;
    void colourSchemeChanged() override;
    void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(HWND control, WORD code, WORD id);
    void bindControls();
    void unloadOtherWindows();
    bool deferCloseDuringRun();
    LRESULT sessionEnding();
    void sessionEnds(bool ending);

    Desktop &desktop_;
    const Registry &registry_;
    Accessibility &accessibility_;
    Tooltips tooltips_;
    ControlColours colours_;
    ControlNames names_;
    TableControls controls_;
    std::unique_ptr<BaseWindow> frmErrorWindow_;
    std::unique_ptr<BaseWindow> frmErrorClipboardWindow_;
    bool running_ = false; // a folder run yields to the message loop; a second press is ignored
    bool closing_ = false;
    bool closeRequested_ = false; // asked to close during a run: the run stops, then the window closes
    bool quitOnUnload_ = true;
    RunUnderWay *runUnderWay_ = nullptr; // the folder run's files, while it converts them
    bool sessionHeld_ = false;

public:
    // Tests create the window without ending the message loop when it closes.
    void setQuitOnUnload(bool quit) { quitOnUnload_ = quit; }
    bool runInProgress() const { return running_; }
    bool closeRequested() const { return closeRequested_; }
    void setRunInProgress(bool running) { running_ = running; }
    void setRunUnderWay(RunUnderWay *run) { runUnderWay_ = run; }
    // The end of the session, held while a run put its files in place, is let go.
    void releaseSessionEnd();
    // The jobs reach the disk through it, its moves the ones the window was made with.
    FileSystem &files() { return files_; }

private:
    WindowsFileSystem files_;
};
