// The folder jobs of the main window: verify the work list, drop the failed files, convert the rest.
#include "engine/file_jobs.h"
#include "engine/main_job_helpers.h"
#include "errors/frm_error.h"
#include "errors/show_error.h"

#include <algorithm>

void FrmMain::replaceTABSwithSPACESVerifyMultiple() {
    guarded("frmMain - replaceTABSwithSPACESVerifyMultiple", [&] {
        KillTempFile1();
        KillTempFile2();
        int32_t done = 0;
        verifyInputs(
            listEntries(List1),
            [&](const std::string &path) {
                tEXTO = path;
                recordFailedInput(*this);
            },
            [&] { progressStep(*this, ++done); });
    });
}

void FrmMain::removeErroredFiles() {
    guarded("frmMain - removeErroredFiles", [&] {
        const std::vector<std::string> failed = listEntries(frmError().List2);
        if (failed.empty()) return;
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
        convertFolder(listEntries(List1), {Rule::FixedSpaces, txtMultipleFilesDestinationPath.text(),
                                           [&] { return spacesNumber(*this); }, [&] { progressStep(*this, ++done); }});
        showCompletion(*this, job::allDone);
    });
}
