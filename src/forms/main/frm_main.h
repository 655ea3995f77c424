// The main window: the operation to run, its panels and settings, and the procedures behind them,
// defined beside this file in files by concern. Its controls and what a run keeps are its own; other
// code drives it through the operations in the public part.
//
// The design's names stay where a user or a file sees them (message texts, the error log, registry
// values, the layout table); these C++ names stand for them:
//   frmMain                              FrmMain
//   Form_Load / Form_QueryUnload         loaded / closing
//   Form_Unload / Form_KeyDown           unloaded / keyDown
//   Form_DropFiles / menuHelp_Click      filesDropped / helpClicked
//   cmdReplaceTABS_Click                 runClicked
//   cmdAbout_Click / cmdExit_Click       aboutClicked / close
//   optClipboard_Click, optSingle_Click,
//   optMultiple_Click                    highlightOperation
//   prevcmdReplaceTABSSingle             runSingleFile
//   prevcmdReplaceTABSMultiple           runFolder
//   prevcmdReplaceTABSClipboard          runClipboard
//   replaceTABSwithSPACESVerifySingle    verifySingleFile
//   replaceTWSfixedSingle                convertSingleFileWithTabStops
//   replaceTABSwithSPACESSingle          convertSingleFileWithFixedSpaces
//   replaceTABSwithSPACESVerifyMultiple  verifyFolderFiles
//   removeErroredFiles                   dropFailedFromWorkList
//   replaceTWSfixedMultiple              convertFolderWithTabStops
//   replaceTABSwithSPACESMultiple        convertFolderWithFixedSpaces
//   replaceTABSwithSPACESVerifyClipboard verifyClipboard
//   replaceTWSfixedClipboard             convertClipboardWithTabStops
//   replaceTABSwithSPACESClipboard       convertClipboardWithFixedSpaces
//   KillTempFile1 / KillTempFile2        removeTemporaryFile / removeSecondTemporaryFile
//   itemIsInList                         FrmError::lists
//   countFILES / Combo1_Click            listWorkFiles / extensionChosen
//   LoadComboFromFile                    loadExtensions
//   LoadInternalList / CreateList        addBuiltInExtensions / storeExtensions
//   List1_MouseMove                      workListMouseMove
//   cmdGetSourceFile_Click               browseSourceFile
//   cmdGetSaveFile_Click                 browseDestinationFile
//   cmdBrowseDir_Click                   browseSourceFolder
//   cmdBrowseDir2Save_Click              browseDestinationFolder
//   objBD / objBD_SelectionChanged       folderDialog_ / folderSelectionChanged
//   CommonDialog1                        fileDialog_
//   pathBox_MouseMove                    pathBoxMouseMove
//   txtSpacesToUse_MouseDown             spacesBoxMouseDown
//   frmError / frmErrorClipboard         failedFilesWindow / failedClipboardWindow
// The controls' layout names are the first column of controlTable below.
#pragma once

#include "desktop/desktop.h"
#include "desktop/show_error.h"
#include "main/browse_dialog.h"
#include "main/common_dialog.h"
#include "main/run_progress.h"
#include "main/run_state.h"
#include "registry.h"
#include "run_inputs.h"
#include "window/accessibility.h"
#include "window/base_window.h"
#include "window/control_binding.h"
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
#include <vector>

class FrmError;
class FrmErrorClipboard;
struct FilePick;
enum class TabRule : std::uint8_t;

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
    // Tests create the window without ending the message loop when it closes.
    void setQuitOnUnload(bool quit) { quitOnUnload_ = quit; }
    bool runInProgress() const { return run_.running; }

    // What a person does on the window.
    void runClicked();
    void aboutClicked();
    void helpClicked();
    void keyDown(int16_t keyCode, int16_t shift);
    void workListMouseMove(int16_t button, int16_t shift, float x, float y);

    // The steps of a run, each a procedure with its own error policy. A checking pass answers false
    // when it ended on an error of its own (the user has been told); no conversion pass follows then.
    bool verifySingleFile();
    void convertSingleFileWithTabStops();
    void convertSingleFileWithFixedSpaces();
    bool verifyFolderFiles();
    void dropFailedFromWorkList();
    void convertFolderWithTabStops();
    void convertFolderWithFixedSpaces();
    bool verifyClipboard();
    void convertClipboardWithTabStops();
    void convertClipboardWithFixedSpaces();

    // The work list from the source folder and the chosen extension, the extensions from their file.
    void listWorkFiles();
    void loadExtensions(const std::string &path);
    void saveSettings();

    // The failed-files windows: loaded, hidden, on first use; unloaded when closed.
    FrmError &failedFilesWindow();
    FrmErrorClipboard &failedClipboardWindow();
    bool failedFilesWindowLoaded() const;
    bool failedClipboardWindowLoaded() const;

private:
    friend class WindowProbe; // the tests' view of the controls and the run state

    struct Controls {
        Button runButton, aboutButton, exitButton;
        OptionButton clipboardOption, singleFileOption, multipleFilesOption;
        Frame clipboardFrame, singleFileFrame, multipleFilesFrame, settingsFrame;
        Label hiddenFileCountLabel, hiddenClipboardTextLabel;
        // Clipboard panel.
        Label clipboardLabel;
        // Single-file panel.
        Label sourceFileLabel, destinationFileLabel;
        TextBox sourceFileBox, destinationFileBox;
        Button browseSourceFileButton, browseDestinationFileButton;
        // Multiple-files panel.
        Label sourceFolderLabel, destinationFolderLabel, fileCountLabel, statusLabel;
        TextBox sourceFolderBox, destinationFolderBox;
        Button browseSourceFolderButton, browseDestinationFolderButton;
        ListBox workList;
        ComboBox extensionBox;
        ProgressBar progressBar;
        // Settings panel.
        OptionButton tabStopsOption, fixedSpacesOption;
        Label spacesLabel;
        TextBox spacesBox;
        Control spacesUpDown, spacesBoxFrame;
    };
    static constexpr ControlBinding<Controls> controlTable[] = {
        {"cmdReplaceTABS", &Controls::runButton},
        {"cmdAbout", &Controls::aboutButton},
        {"cmdExit", &Controls::exitButton},
        {"optClipboard", &Controls::clipboardOption},
        {"optSingle", &Controls::singleFileOption},
        {"optMultiple", &Controls::multipleFilesOption},
        {"FrameClipboard", &Controls::clipboardFrame},
        {"FrameSingle", &Controls::singleFileFrame},
        {"FrameMultiple", &Controls::multipleFilesFrame},
        {"FrameSettings", &Controls::settingsFrame},
        {"lblHDDENnrOfFiles", &Controls::hiddenFileCountLabel},
        {"lblHDDENTextonClipboard", &Controls::hiddenClipboardTextLabel},
        {"Label5", &Controls::clipboardLabel},
        {"Label1", &Controls::sourceFileLabel},
        {"Label2", &Controls::destinationFileLabel},
        {"txtSource", &Controls::sourceFileBox},
        {"txtDest", &Controls::destinationFileBox},
        {"cmdGetSourceFile", &Controls::browseSourceFileButton},
        {"cmdGetSaveFile", &Controls::browseDestinationFileButton},
        {"Label3", &Controls::sourceFolderLabel},
        {"Label4", &Controls::destinationFolderLabel},
        {"lblNumberofiles", &Controls::fileCountLabel},
        {"lblVerify", &Controls::statusLabel},
        {"txtMultipleFilesPath", &Controls::sourceFolderBox},
        {"txtMultipleFilesDestinationPath", &Controls::destinationFolderBox},
        {"cmdBrowseDir", &Controls::browseSourceFolderButton},
        {"cmdBrowseDir2Save", &Controls::browseDestinationFolderButton},
        {"List1", &Controls::workList},
        {"Combo1", &Controls::extensionBox},
        {"ProgressBar1", &Controls::progressBar},
        {"optFixedTABS", &Controls::tabStopsOption},
        {"optFixedSpaces", &Controls::fixedSpacesOption},
        {"Label6", &Controls::spacesLabel},
        {"txtSpacesToUse", &Controls::spacesBox},
        {"UpDown1", &Controls::spacesUpDown},
        {"Image1", &Controls::spacesBoxFrame},
    };

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
    int tellUser(const std::string &text, const std::string &title, UINT style) {
        return showMessage(desktop_, hwnd(), text, title, style);
    }
    // The jobs reach the disk through it, over the file moves the window was made with.
    FileSystem &files() { return files_; }

    // The window (frm_main.cpp, window_events.cpp).
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowDestroyed() override;
    void layOutAtDpi(int dpi) override;
    void colourSchemeChanged() override;
    void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(HWND control, WORD code, WORD id);
    void bindControls();
    void styleControls();
    void loaded();
    void closing();
    void unloaded();
    bool deferCloseDuringRun();
    LRESULT sessionEnding();
    void sessionEnds(bool ending);
    void releaseSessionEnd();
    void unloadOtherWindows();
    void highlightOperation();
    void selectOperation(OptionButton &operation);
    void pathBoxMouseMove(TextBox &box);
    void spacesBoxMouseDown();
    void showFailures(ModalWindow &window);

    // Runs (run_checks.cpp): the inputs checked in order, verified, converted.
    void runSingleFile();
    void runFolder();
    void runClipboard();
    bool singleInputsUsable();
    bool folderInputsUsable();
    // A run refused for its inputs; a choice or a drop refused (pickers.cpp). The box whose path was
    // refused, if any, shows "Waiting ..." again. False, for the checks that answer with it.
    bool refuseRun(const std::string &text, TextBox *box = nullptr);
    bool refuseChoice(const std::string &text, TextBox *box = nullptr);

    // Jobs (main_jobs.cpp).
    void removeTemporaryFile();
    void removeSecondTemporaryFile();
    void convertWorkList(TabRule rule, const std::vector<std::string> &sources);
    void recordFailedInput(const std::string &input);
    void folderFileDone(int32_t filesDone);
    int16_t spacesNumber() const;
    void showCompletion(const std::string &text);

    // Pickers and drops (pickers.cpp, drops.cpp).
    void browseSourceFile();
    void browseDestinationFile();
    void browseSourceFolder();
    void browseDestinationFolder();
    void folderSelectionChanged(HWND dialog);
    void pickFile(const FilePick &pick, TextBox &box, const TextBox &other, const std::string &refusal);
    bool keepFileChoice(const std::string &chosenName, TextBox &box, const TextBox &other,
                        const std::string &refusal);
    bool keepFolderChoice(const std::string &chosen, const std::string &previous, TextBox &box,
                          const TextBox &other, bool mustBeWritable);
    void startFilePicker();
    void startSourceFolderPicker();
    void keepSourceFolder(const std::string &chosen, const std::string &previous);
    void keepDestinationFolder(const std::string &chosen, const std::string &previous);
    void filesDropped(HDROP drop);
    void takeDrop(const DroppedFiles &dropped);
    bool droppedOn(const DroppedFiles &dropped, const TextBox &box) const;

    // Work list and settings (work_list.cpp, settings.cpp).
    void showFileCount(int32_t count);
    void extensionChosen();
    void addBuiltInExtensions();
    void storeExtensions();
    void restoreSettings();

    Desktop &desktop_;
    const Registry &registry_;
    WindowsFileSystem files_;
    Accessibility &accessibility_;
    Tooltips tooltips_;
    ControlColours colours_;
    ControlNames names_;
    TableControls madeControls_;
    Controls controls_;
    // The file dialog both file pickers share; the destination folder picker's latest dialog.
    CommonDialog fileDialog_;
    std::unique_ptr<BrowseDialog> folderDialog_;
    RunState run_;
    // What the run shows on the taskbar button.
    RunProgress runProgress_;
    std::unique_ptr<BaseWindow> failedFilesWindow_;
    std::unique_ptr<BaseWindow> failedClipboardWindow_;
    bool closing_ = false;
    bool quitOnUnload_ = true;
    bool sessionHeld_ = false;
};
