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

// The number of spaces in the number box, as a signed 16-bit integer (13 or 6 when it is none).
int16_t spacesNumber(const FrmMain &frm) { return spacesFromText(frm.txtSpacesToUse.text()); }

// The program's temporary file of that name in the per-user data folder.
std::string temporaryPath(const std::string &name) { return appDataFolder(programFolder()) + name; }

void removeTemporary(const std::string &path) {
    if (fileExists(path)) deleteFileIfPresent(path);
}

// Adds the input to the failed-files list unless it is there already.
void recordFailedInput(FrmMain &frm, const std::string &input) {
    if (!frm.itemIsInList(input)) frm.frmError().List2.addItem(input);
}

void replaceEntries(ListBox &list, const std::vector<std::string> &entries) {
    const DrawingPaused paused(list.hwnd());
    list.clear();
    for (const std::string &entry : entries) list.addItem(entry);
}

// After each file of a folder pass: the bar's maximum from the count of listed files, its value, one
// yield.
// When the window was asked to close meanwhile, the run stops here (RunStopped), between files.
void progressStep(FrmMain &frm, int32_t filesDone) {
    frm.ProgressBar1.setMax(frm.filesInList);
    frm.ProgressBar1.setValue(filesDone);
    frm.runProgress.files(filesDone, frm.filesInList);
    yieldToMessageLoop();
    if (frm.closeRequested()) throw RunStopped{};
}

void showCompletion(FrmMain &frm, const std::string &text) {
    frm.showMessage(text, programTitle, MB_OK | MB_ICONINFORMATION);
}

// For long work between a job's blocks: counts the block on the taskbar button and lets the window
// handle its messages (paint, the ignored second press) when 50 ms have passed since it last did, so
// it never waits as long as 100 ms.
class MessagePump {
public:
    explicit MessagePump(FrmMain &frm) : frm_(frm) {}
    void operator()(std::size_t bytes) {
        frm_.runProgress.addBytes(bytes);
        const DWORD now = GetTickCount();
        if (now - last_ < 50) return;
        yieldToMessageLoop();
        last_ = GetTickCount();
    }

private:
    FrmMain &frm_;
    DWORD last_ = GetTickCount();
};

// The encoding the last verification pass found for an input (ANSI when it did not read it).
TextEncoding verifiedEncoding(const FrmMain &frm, const std::string &path) {
    const auto found = frm.verifiedEncodings.find(trimSpaces(path));
    return found == frm.verifiedEncodings.end() ? TextEncoding::Ansi : found->second;
}

} // namespace

void FrmMain::KillTempFile1() {
    guarded("frmMain - KillTempFile1", [&] { removeTemporary(temporaryPath(dataFile::temporary)); });
}

void FrmMain::KillTempFile2() {
    guarded("frmMain - KillTempFile2", [&] { removeTemporary(temporaryPath(dataFile::secondTemporary)); });
}

bool FrmMain::itemIsInList(const std::string &entry) {
    const ListBox &failed = frmError().List2;
    for (int32_t i = 0; i < failed.listCount(); ++i)
        if (failed.list(i) == entry) return true;
    return false;
}

bool FrmMain::replaceTABSwithSPACESVerifySingle() {
    return guarded("frmMain - replaceTABSwithSPACESVerifySingle", [&] {
        KillTempFile1();
        KillTempFile2();
        const std::string source = trimSpaces(txtSource.text());
        runProgress.startBytes(source);
        verifiedEncodings.clear();
        markingFailedInput(
            [&] { verifiedEncodings[source] = verifyInput(source, files(), MessagePump(*this)); },
            [&] { recordFailedInput(*this, source); });
    });
}

void FrmMain::replaceTWSfixedSingle() {
    guarded("frmMain - replaceTWSfixedSingle", [&] {
        const int16_t width = spacesNumber(*this);
        const std::string source = trimSpaces(txtSource.text());
        convertFileTabStops(source, trimSpaces(txtDest.text()), width, files(),
                            verifiedEncoding(*this, source), MessagePump(*this));
        showCompletion(*this, jobText::fileReady);
    });
}

void FrmMain::replaceTABSwithSPACESSingle() {
    guarded("frmMain - replaceTABSwithSPACESSingle", [&] {
        const std::string source = trimSpaces(txtSource.text());
        const std::string destination = txtDest.text(); // as typed: this job has always written there
        convertFileFixedSpaces(
            source, destination, [&] { return spacesNumber(*this); }, files(),
            verifiedEncoding(*this, source), MessagePump(*this));
        showCompletion(*this, jobText::fileReady);
    });
}

bool FrmMain::replaceTABSwithSPACESVerifyMultiple() {
    return guarded("frmMain - replaceTABSwithSPACESVerifyMultiple", [&] {
        KillTempFile1();
        KillTempFile2();
        // Known failures kept at hand: asking the list box for each would take time in the square of
        // the number of failed files.
        const std::vector<std::string> known = frmError().List2.items();
        std::unordered_set<std::string> listed(known.begin(), known.end());
        int32_t done = 0;
        ListBox &failed = frmError().List2;
        const DrawingPaused paused(failed.hwnd()); // the window is hidden while it fills
        verifiedEncodings.clear();
        verifyInputs(
            List1.items(), files(),
            [&](const std::string &path) {
                if (listed.insert(path).second) failed.addItem(path);
            },
            [&] { progressStep(*this, ++done); },
            [&](const std::string &path, TextEncoding encoding) {
                verifiedEncodings[trimSpaces(path)] = encoding;
            });
    });
}

void FrmMain::removeErroredFiles() {
    guarded("frmMain - removeErroredFiles", [&] {
        const std::vector<std::string> failed = frmError().List2.items();
        if (failed.empty()) return;
        replaceEntries(List1, withoutFailed(List1.items(), failed));
    });
}

void FrmMain::replaceTWSfixedMultiple() {
    guarded("frmMain - replaceTWSfixedMultiple", [&] {
        std::vector<std::string> sources = List1.items();
        std::transform(sources.begin(), sources.end(), sources.begin(), trimSpaces);
        int32_t done = 0;
        convertFolder(sources,
                      {TabRule::TabStops, txtMultipleFilesDestinationPath.text(),
                       [&] { return spacesNumber(*this); }, [&] { progressStep(*this, ++done); },
                       [&](const std::string &path) { return verifiedEncoding(*this, path); },
                       [&](const std::string &path) { recordFailedInput(*this, path); }, MessagePump(*this),
                       yieldToMessageLoop, [this](RunUnderWay *run) { setRunUnderWay(run); }},
                      files());
        showCompletion(*this, jobText::allDone);
    });
}

void FrmMain::replaceTABSwithSPACESMultiple() {
    guarded("frmMain - replaceTABSwithSPACESMultiple", [&] {
        int32_t done = 0;
        convertFolder(List1.items(),
                      {TabRule::FixedSpaces, txtMultipleFilesDestinationPath.text(),
                       [&] { return spacesNumber(*this); }, [&] { progressStep(*this, ++done); },
                       [&](const std::string &path) { return verifiedEncoding(*this, path); },
                       [&](const std::string &path) { recordFailedInput(*this, path); }, MessagePump(*this),
                       yieldToMessageLoop, [this](RunUnderWay *run) { setRunUnderWay(run); }},
                      files());
        showCompletion(*this, jobText::allDone);
    });
}

bool FrmMain::replaceTABSwithSPACESVerifyClipboard() {
    return guarded("frmMain - replaceTABSwithSPACESVerifyClipboard", [&] {
        KillTempFile1();
        KillTempFile2();
        if (!clipboardHasText()) {
            showMessage(jobText::noTextOnClipboard, jobText::noTextTitle, MB_OK | MB_ICONEXCLAMATION);
            noTextOnClipboard = true;
            lblHDDENTextonClipboard.setCaption("no");
            return;
        }
        const std::string stored = temporaryPath(dataFile::temporary);
        const std::string input = trimSpaces(stored);
        markingFailedInput([&] { storeClipboardText(files(), stored, clipboardText()); },
                           [&] { recordFailedInput(*this, input); });
        markingFailedInput([&] { verifyInput(input, files()); }, [&] { recordFailedInput(*this, input); });
        noTextOnClipboard = false;
        lblHDDENTextonClipboard.setCaption("yes");
    });
}

void FrmMain::replaceTWSfixedClipboard() {
    guarded("frmMain - replaceTWSfixedClipboard", [&] {
        const int16_t width = spacesNumber(*this);
        replaceClipboardText(hwnd(),
                             tabStopClipboardText(temporaryPath(dataFile::temporary),
                                                  temporaryPath(dataFile::secondTemporary), width, files()));
        KillTempFile1();
        KillTempFile2();
        showCompletion(*this, jobText::onClipboard);
    });
}

void FrmMain::replaceTABSwithSPACESClipboard() {
    guarded("frmMain - replaceTABSwithSPACESClipboard", [&] {
        replaceClipboardText(hwnd(),
                             fixedSpacesClipboardText(files(), temporaryPath(dataFile::temporary),
                                                      clipboardText(), [&] { return spacesNumber(*this); }));
        KillTempFile1();
        showCompletion(*this, jobText::onClipboard);
    });
}
