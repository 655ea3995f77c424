// The main window's conversion jobs (single file, folder, clipboard) over the window-free jobs, and what
// they share: the number box, the program's temporary files, the failed-files list, the progress step.
#include "main/frm_main.h"

#include "app_error.h"
#include "appdata.h"
#include "clipboard.h"
#include "clipboard_text.h"
#include "failed/frm_error.h"
#include "file_jobs.h"
#include "folders.h"
#include "messages.h"
#include "path_text.h"
#include "spaces_number.h"
#include "text_files.h"
#include "window/modal_loop.h"

#include <algorithm>
#include <unordered_set>

namespace {

// The program's temporary file of that name in the per-user data folder.
std::string temporaryPath(const std::string &name) { return appDataFolder(programFolder()) + name; }

void removeTemporary(const std::string &path) {
    if (fileExists(path)) deleteFileIfPresent(path);
}

void replaceEntries(ListBox &list, const std::vector<std::string> &entries) {
    const DrawingPaused paused(list.hwnd());
    list.clear();
    for (const std::string &entry : entries) list.addItem(entry);
}

// For long work between a job's blocks: counts the block on the taskbar button and lets the window
// handle its messages (paint, the ignored second press) when 50 ms have passed since it last did, so
// it never waits as long as 100 ms.
class MessagePump {
public:
    explicit MessagePump(RunProgress &progress) : progress_(progress) {}
    void operator()(std::size_t bytes) {
        progress_.addBytes(bytes);
        const DWORD now = GetTickCount();
        if (now - last_ < 50) return;
        yieldToMessageLoop();
        last_ = GetTickCount();
    }

private:
    RunProgress &progress_;
    DWORD last_ = GetTickCount();
};

// The encoding the last verification pass found for an input (ANSI when it did not read it).
TextEncoding verifiedEncoding(const RunState &run, const std::string &path) {
    const auto found = run.verifiedEncodings.find(trimSpaces(path));
    return found == run.verifiedEncodings.end() ? TextEncoding::Ansi : found->second;
}

} // namespace

// The number of spaces in the number box, as a signed 16-bit integer (13 or 6 when it is none).
int16_t FrmMain::spacesNumber() const { return spacesFromText(controls_.spacesBox.text()); }

void FrmMain::showCompletion(const std::string &text) {
    tellUser(text, programTitle, MB_OK | MB_ICONINFORMATION);
}

// Adds the input to the failed-files list unless it is there already.
void FrmMain::recordFailedInput(const std::string &input) {
    FrmError &failed = failedFilesWindow();
    if (!failed.lists(input)) failed.addFailedFile(input);
}

// After each file of a folder pass: the bar's maximum from the count of listed files, its value and the
// taskbar button's, one yield. When the window was asked to close meanwhile, the run stops here
// (RunStopped), between files.
void FrmMain::folderFileDone(int32_t filesDone) {
    controls_.progressBar.setMax(run_.filesInList);
    controls_.progressBar.setValue(filesDone);
    runProgress_.files(filesDone, run_.filesInList);
    yieldToMessageLoop();
    if (run_.closeRequested) throw RunStopped{};
}

void FrmMain::removeTemporaryFile() {
    guarded("frmMain - KillTempFile1", [&] { removeTemporary(temporaryPath(dataFile::temporary)); });
}

void FrmMain::removeSecondTemporaryFile() {
    guarded("frmMain - KillTempFile2", [&] { removeTemporary(temporaryPath(dataFile::secondTemporary)); });
}

bool FrmMain::verifySingleFile() {
    return guarded("frmMain - replaceTABSwithSPACESVerifySingle", [&] {
        removeTemporaryFile();
        removeSecondTemporaryFile();
        const std::string source = trimSpaces(controls_.sourceFileBox.text());
        runProgress_.startBytes(source);
        run_.verifiedEncodings.clear();
        markingFailedInput(
            [&] { run_.verifiedEncodings[source] = verifyInput(source, files(), MessagePump(runProgress_)); },
            [&] { recordFailedInput(source); });
    });
}

void FrmMain::convertSingleFileWithTabStops() {
    guarded("frmMain - replaceTWSfixedSingle", [&] {
        const int16_t width = spacesNumber();
        const std::string source = trimSpaces(controls_.sourceFileBox.text());
        convertFileTabStops(source, trimSpaces(controls_.destinationFileBox.text()), width, files(),
                            verifiedEncoding(run_, source), MessagePump(runProgress_));
        showCompletion(jobText::fileReady);
    });
}

void FrmMain::convertSingleFileWithFixedSpaces() {
    guarded("frmMain - replaceTABSwithSPACESSingle", [&] {
        const std::string source = trimSpaces(controls_.sourceFileBox.text());
        // The destination as typed, untrimmed, unlike the tab-stop job's: this job has always written
        // there.
        const std::string destination = controls_.destinationFileBox.text();
        convertFileFixedSpaces(
            source, destination, [&] { return spacesNumber(); }, files(), verifiedEncoding(run_, source),
            MessagePump(runProgress_));
        showCompletion(jobText::fileReady);
    });
}

bool FrmMain::verifyFolderFiles() {
    return guarded("frmMain - replaceTABSwithSPACESVerifyMultiple", [&] {
        removeTemporaryFile();
        removeSecondTemporaryFile();
        FrmError &failed = failedFilesWindow();
        // Known failures kept at hand: asking the list box for each would take time in the square of
        // the number of failed files.
        const std::vector<std::string> known = failed.failedFiles();
        std::unordered_set<std::string> listed(known.begin(), known.end());
        int32_t done = 0;
        const DrawingPaused paused = failed.pauseListDrawing(); // the window is hidden while it fills
        run_.verifiedEncodings.clear();
        verifyInputs(
            controls_.workList.items(), files(),
            [&](const std::string &path) {
                if (listed.insert(path).second) failed.addFailedFile(path);
            },
            [&] { folderFileDone(++done); },
            [&](const std::string &path, TextEncoding encoding) {
                run_.verifiedEncodings[trimSpaces(path)] = encoding;
            });
    });
}

void FrmMain::dropFailedFromWorkList() {
    guarded("frmMain - removeErroredFiles", [&] {
        const std::vector<std::string> failed = failedFilesWindow().failedFiles();
        if (failed.empty()) return;
        replaceEntries(controls_.workList, withoutFailed(controls_.workList.items(), failed));
    });
}

void FrmMain::convertFolderWithTabStops() {
    guarded("frmMain - replaceTWSfixedMultiple", [&] {
        // This job trims its sources' paths; the fixed-spaces job takes them as listed. Each has always
        // done so, and the difference is kept.
        std::vector<std::string> sources = controls_.workList.items();
        std::transform(sources.begin(), sources.end(), sources.begin(), trimSpaces);
        convertWorkList(TabRule::TabStops, sources);
    });
}

void FrmMain::convertFolderWithFixedSpaces() {
    guarded("frmMain - replaceTABSwithSPACESMultiple",
            [&] { convertWorkList(TabRule::FixedSpaces, controls_.workList.items()); });
}

// The folder conversion both rules share, through the jobs layer, with the progress after each file.
void FrmMain::convertWorkList(TabRule rule, const std::vector<std::string> &sources) {
    int32_t done = 0;
    convertFolder(sources,
                  {rule, controls_.destinationFolderBox.text(), [&] { return spacesNumber(); },
                   [&] { folderFileDone(++done); },
                   [&](const std::string &path) { return verifiedEncoding(run_, path); },
                   [&](const std::string &path) { recordFailedInput(path); }, MessagePump(runProgress_),
                   yieldToMessageLoop, [this](RunUnderWay *run) { run_.underWay = run; }},
                  files());
    showCompletion(jobText::allDone);
}

bool FrmMain::verifyClipboard() {
    return guarded("frmMain - replaceTABSwithSPACESVerifyClipboard", [&] {
        removeTemporaryFile();
        removeSecondTemporaryFile();
        if (!clipboardHasText()) {
            tellUser(jobText::noTextOnClipboard, jobText::noTextTitle, MB_OK | MB_ICONEXCLAMATION);
            run_.noTextOnClipboard = true;
            controls_.hiddenClipboardTextLabel.setCaption("no");
            return;
        }
        const std::string stored = temporaryPath(dataFile::temporary);
        const std::string input = trimSpaces(stored);
        markingFailedInput([&] { storeClipboardText(files(), stored, clipboardText()); },
                           [&] { recordFailedInput(input); });
        markingFailedInput([&] { verifyInput(input, files()); }, [&] { recordFailedInput(input); });
        run_.noTextOnClipboard = false;
        controls_.hiddenClipboardTextLabel.setCaption("yes");
    });
}

void FrmMain::convertClipboardWithTabStops() {
    guarded("frmMain - replaceTWSfixedClipboard", [&] {
        const int16_t width = spacesNumber();
        replaceClipboardText(hwnd(),
                             tabStopClipboardText(temporaryPath(dataFile::temporary),
                                                  temporaryPath(dataFile::secondTemporary), width, files()));
        removeTemporaryFile();
        removeSecondTemporaryFile();
        showCompletion(jobText::onClipboard);
    });
}

// This job leaves the second temporary file to the next run's check: it never makes one.
void FrmMain::convertClipboardWithFixedSpaces() {
    guarded("frmMain - replaceTABSwithSPACESClipboard", [&] {
        replaceClipboardText(hwnd(),
                             fixedSpacesClipboardText(files(), temporaryPath(dataFile::temporary),
                                                      clipboardText(), [&] { return spacesNumber(); }));
        removeTemporaryFile();
        showCompletion(jobText::onClipboard);
    });
}
