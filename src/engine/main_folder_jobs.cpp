// The folder jobs of the main window: verify the work list, drop the failed files, convert the rest.
#include "engine/file_jobs.h"
#include "engine/main_job_helpers.h"
#include "errors/frm_error.h"
#include "errors/show_error.h"

#include <algorithm>
#include <unordered_set>

void FrmMain::replaceTABSwithSPACESVerifyMultiple() {
    guarded("frmMain - replaceTABSwithSPACESVerifyMultiple", [&] {
        KillTempFile1();
        KillTempFile2();
        // Known failures kept at hand: asking the list box for each would take time in the square of
        // the number of failed files.
        const std::vector<std::string> known = listEntries(frmError().List2);
        std::unordered_set<std::string> listed(known.begin(), known.end());
        int32_t done = 0;
        ListBox &failed = frmError().List2;
        const DrawingPaused paused(failed.hwnd()); // the window is hidden while it fills
        verifyInputs(
            listEntries(List1),
            [&](const std::string &path) {
                tEXTO = path;
                if (listed.insert(tEXTO).second)
                    failed.addItem(tEXTO);
            },
            [&] { progressStep(*this, ++done); });
    });
}

void FrmMain::removeErroredFiles() {
    guarded("frmMain - removeErroredFiles", [&] {
        const std::vector<std::string> failed = listEntries(frmError().List2);
        if (failed.empty())
            return;
        replaceEntries(List1, withoutFailed(listEntries(List1), failed));
    });
}

void FrmMain::replaceTWSfixedMultiple() {
    guarded("frmMain - replaceTWSfixedMultiple", [&] {
        std::vector<std::string> sources = listEntries(List1);
        std::transform(sources.begin(), sources.end(), sources.begin(), trimSpaces);
        int32_t done = 0;
        convertFolder(sources, {Rule::TabStops, txtMultipleFilesDestinationPath.text(),
                                [&] { return spacesNumber(*this); }, [&] { progressStep(*this, ++done); }});
        showCompletion(*this, job::allDone);
    });
}

void FrmMain::replaceTABSwithSPACESMultiple() {
    guarded("frmMain - replaceTABSwithSPACESMultiple", [&] {
        int32_t done = 0;
        convertFolder(listEntries(List1),
                      {Rule::FixedSpaces, txtMultipleFilesDestinationPath.text(),
                       [&] { return spacesNumber(*this); }, [&] { progressStep(*this, ++done); }});
        showCompletion(*this, job::allDone);
    });
}
