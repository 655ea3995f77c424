// The single-file jobs of the main window, and the temporary files and failed-files list that the
// folder and clipboard jobs share with them.
#include "engine/file_jobs.h"
#include "engine/main_job_helpers.h"
#include "errors/frm_error.h"
#include "errors/show_error.h"

void FrmMain::KillTempFile1() {
    guarded("frmMain - KillTempFile1", [&] { removeTemporary(temporaryPath("TEMP.txt")); });
}

void FrmMain::KillTempFile2() {
    guarded("frmMain - KillTempFile2", [&] { removeTemporary(temporaryPath("TEMP2.txt")); });
}

bool FrmMain::itemIsInList() {
    const ListBox &failed = frmError().List2;
    for (int32_t i = 0; i < failed.listCount(); ++i)
        if (failed.list(i) == tEXTO)
            return true;
    return false;
}

void FrmMain::replaceTABSwithSPACESVerifySingle() {
    guarded("frmMain - replaceTABSwithSPACESVerifySingle", [&] {
        KillTempFile1();
        KillTempFile2();
        tEXTO = trimSpaces(txtSource.text());
        markingFailedInput([&] { verifyInput(tEXTO, MessagePump()); }, [&] { recordFailedInput(*this); });
    });
}

void FrmMain::replaceTWSfixedSingle() {
    guarded("frmMain - replaceTWSfixedSingle", [&] {
        const int16_t width = spacesNumber(*this);
        convertFileTabStops(trimSpaces(txtSource.text()), trimSpaces(txtDest.text()), width, MessagePump());
        showCompletion(*this, job::fileReady);
    });
}

void FrmMain::replaceTABSwithSPACESSingle() {
    guarded("frmMain - replaceTABSwithSPACESSingle", [&] {
        tEXTO = trimSpaces(txtSource.text());
        targetfile = txtDest.text(); // as typed: this job has always written to the untrimmed path
        convertFileFixedSpaces(tEXTO, targetfile, [&] { return spacesNumber(*this); }, MessagePump());
        showCompletion(*this, job::fileReady);
    });
}
