// Times a folder run as a user starts it: the real main window, created and shown in this process, its
// folder panel set to a source and a destination folder, the run button pressed, and the clock stopped
// when the run shows its closing message. Against, in the same round: a loop that only copies the same
// files with CopyFileA into an empty folder, and the same job (verification and conversion) without a
// window. Each run goes into an empty folder and then again over the files it wrote. The machines are
// shared and noisy, so the phases are measured in turns (the window's and the job's taking turns at going
// first), every round is printed as it ends, and the medians of the rounds' ratios are printed at the end.
//   wine window_run_bench.exe [files] [bytes per file] [rounds] [empty]
// ("empty" leaves out the runs over existing files).
#include "bench_clock.h"
#include "bench_files.h"
#include "desktop/desktop.h"
#include "failed/frm_error.h"
#include "file_jobs.h"
#include "main/frm_main.h"
#include "messages.h"
#include "registry.h"
#include "window/accessibility.h"
#include "window/modal_loop.h"
#include "window/taskbar_progress.h"
#include "window_probe.h"
#include "windows_file_system.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Answers every message box at once and notes when the run's closing message came; anything else a
// run could ask of a person counts as a failed run.
class BenchDesktop final : public Desktop {
public:
    double doneAt = 0;
    int unexpected = 0;

    int messageBox(const MessageBoxRequest &request) override {
        if (request.text == jobText::allDone)
            doneAt = seconds();
        else
            ++unexpected, std::printf("unexpected message: %s\n", request.text.c_str());
        return IDOK;
    }
    void showModal(ModalWindow &, HWND) override { ++unexpected; }
    bool showFileDialog(FileDialogRequest &) override { return false; }
    bool showFolderDialog(FolderDialogRequest &) override { return false; }
    void beep() override {}
    bool startProgram(const std::string &, int) override { return false; }
    void shellOpen(HWND, const std::string &, const std::string &, int) override {}
    void holdSessionEnd(HWND, const std::string &) override {}
    void releaseSessionEnd(HWND) override {}
};

class IgnoredFormatErrors final : public Registry::IncorrectFormatReport {
public:
    void incorrectFormat(const std::string &) override {}
};

void pumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Phases {
    std::vector<double> copy, windowInto, windowOver, jobInto, jobOver, replace, windowOverReplace;
};

} // namespace

int main(int argc, char **argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::size_t bytes = argc > 2 ? static_cast<std::size_t>(std::atol(argv[2])) : 50 * 1000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    const bool overExisting = !(argc > 4 && std::string(argv[4]) == "empty");

    INITCOMMONCONTROLSEX commonControls{sizeof commonControls,
                                        ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);

    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string root =
        std::string(base) + "qm-window-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string source = root + "src\\", throughWindow = root + "window\\", job = root + "job\\",
                      copied = root + "copy\\";
    for (const std::string &folder : {root, source, throughWindow, job, copied})
        CreateDirectoryA(folder.c_str(), nullptr);
    const std::string text = sampleText(bytes);
    const std::vector<std::string> names = writeSampleFiles(source, files, text);
    std::vector<std::string> sources;
    for (const std::string &name : names) sources.push_back(source + name);

    BenchDesktop desktop;
    IgnoredFormatErrors formatErrors;
    const Registry registry(formatErrors);
    SystemFileMoves moves;
    WindowsFileSystem fileSystem(moves);
    TaskbarButton taskbar;
    SystemAccessibility accessibility;
    FrmMain frm(desktop, registry, moves, taskbar, accessibility);
    frm.setQuitOnUnload(false);
    frm.load();
    frm.show();
    SendMessageW(controls(frm).multipleFilesOption.hwnd(), BM_CLICK, 0, 0);
    controls(frm).tabStopsOption.setValue(true);
    controls(frm).spacesBox.setText("8");
    controls(frm).extensionBox.clear();
    controls(frm).extensionBox.addItem("txt");
    controls(frm).extensionBox.setListIndex(0);
    controls(frm).sourceFolderBox.setText(source);
    controls(frm).destinationFolderBox.setText(throughWindow);
    frm.listWorkFiles();
    pumpPending();
    if (controls(frm).workList.listCount() != files) {
        std::printf("the work list holds %d files, not %d\n", controls(frm).workList.listCount(), files);
        return 1;
    }

    const auto timed = [](const auto &phase) {
        const double start = seconds();
        phase();
        return seconds() - start;
    };
    const auto windowRun = [&] {
        desktop.doneAt = 0;
        const double start = seconds();
        SendMessageW(controls(frm).runButton.hwnd(), BM_CLICK, 0, 0);
        const double end = desktop.doneAt;
        pumpPending();
        return end > 0 ? end - start : -1.0;
    };
    const FolderConversion conversion{TabRule::TabStops, job, [] { return int16_t{8}; }, [] {}};
    const auto jobRun = [&] {
        return timed([&] {
            verifyInputs(
                sources, fileSystem, [](const std::string &) {}, [] {});
            convertFolder(sources, conversion, fileSystem);
        });
    };

    Phases seen;
    for (int round = 0; round < rounds; ++round) {
        removeFiles(names, copied);
        removeFiles(names, throughWindow);
        removeFiles(names, job);
        const double copy = timed([&] {
            for (std::size_t i = 0; i < sources.size(); ++i)
                CopyFileA(sources[i].c_str(), (copied + names[i]).c_str(), FALSE);
        });
        // The run that follows the copy loop's writes is slowed by them (by a tenth to a quarter of a
        // copy loop here), so the window and the job take turns at going first.
        const bool windowFirst = round % 2 == 0;
        const auto bothRuns = [&](double &window, double &job) {
            if (windowFirst) {
                window = windowRun();
                job = jobRun();
            } else {
                job = jobRun();
                window = windowRun();
            }
        };
        double windowInto = 0, jobInto = 0, windowOver = 0, jobOver = 0, replace = 0;
        bothRuns(windowInto, jobInto);
        if (overExisting) {
            replace = timed([&] { replaceLoop(names, source, copied); });
            bothRuns(windowOver, jobOver);
        }
        if (windowInto < 0 || windowOver < 0 || desktop.unexpected) {
            std::printf("the window's run did not end with its closing message\n");
            return 1;
        }
        std::printf("round %d (%s first): copy %.3f s; into an empty folder: window %.3f s (%.2f), job %.3f s"
                    " (%.2f)",
                    round + 1, windowFirst ? "window" : "job", copy, windowInto, windowInto / copy, jobInto,
                    jobInto / copy);
        if (overExisting)
            std::printf("; over existing files: window %.3f s (%.2f), job %.3f s (%.2f); replace loop %.3f s,"
                        " window over existing files %.2f of it",
                        windowOver, windowOver / copy, jobOver, jobOver / copy, replace,
                        windowOver / replace);
        std::printf("\n");
        std::fflush(stdout);
        seen.copy.push_back(copy);
        seen.windowInto.push_back(windowInto / copy);
        seen.windowOver.push_back(windowOver / copy);
        seen.jobInto.push_back(jobInto / copy);
        seen.jobOver.push_back(jobOver / copy);
        seen.replace.push_back(replace);
        seen.windowOverReplace.push_back(overExisting ? windowOver / replace : 0);
    }
    std::printf(
        "%d files of %zu bytes, verification included, median of %d rounds as a ratio to the CopyFileA"
        " loop (median %.3f s): into an empty folder window %.2f, job %.2f",
        files, bytes, rounds, median(seen.copy), median(seen.windowInto), median(seen.jobInto));
    if (overExisting)
        std::printf(
            "; over existing files window %.2f, job %.2f; the window over existing files %.2f x a loop"
            " that replaces them whole (median %.3f s)",
            median(seen.windowOver), median(seen.jobOver), median(seen.windowOverReplace),
            median(seen.replace));
    std::printf("\n");

    frm.close();
    pumpPending();
    removeFiles(names, source);
    removeFiles(names, throughWindow);
    removeFiles(names, job);
    removeFiles(names, copied);
    for (const std::string &folder : {source, throughWindow, job, copied, root})
        RemoveDirectoryA(folder.c_str());
    return 0;
}
