// The single-file run: its inputs checked in order, the source verified, then converted.
#include "errors/frm_error.h"
#include "errors/show_error.h"
#include "platform/desktop.h"
#include "run/path_checks.h"
#include "run/path_text.h"
#include "run/run_messages.h"
#include "run/run_warnings.h"
#include "run/trim_spaces.h"
#include "platform/text_files.h"
#include "ui/picker_messages.h"
#include "ui/frm_main.h"

namespace {

// True when the source and destination can be used; otherwise the user has been told.
bool singleInputsUsable(FrmMain &frm) {
    if (nothingChosen(frm.txtSource))
        return refused(frm, runText::chooseSourceFile);
    if (frm.txtDest.text() == placeholderText)
        return refused(frm, runText::defineDestinationFile);
    if (frm.txtDest.text().empty())
        return refused(frm, runText::chooseDestinationFile);
    if (!fileExists(frm.txtSource.text()))
        return refusedPathGone(frm, frm.txtSource, runText::sourceFileGone);
    if (!DirExists(filePart(frm.txtDest.text(), pathPart::folder)))
        return refusedPathGone(frm, frm.txtDest, runText::destinationFolderGone);
    // The boxes' texts were compared when the paths were picked; another spelling of the source (a
    // short name, a trailing dot, a doubled backslash, stored settings) is only seen on disk.
    if (sameFileOnDisk(trimSpaces(frm.txtSource.text()), frm.txtDest.text()))
        return refused(frm, pickerText::sameFileForDestination);
    return true;
}

} // namespace

void FrmMain::prevcmdReplaceTABSSingle() {
    guarded("frmMain - prevcmdReplaceTABSSingle", [&] {
        frmError().List2.clear();
        if (!singleInputsUsable(*this))
            return;
        if (!replaceTABSwithSPACESVerifySingle())
            return;
        if (frmError().List2.listCount() > 0) {
            desktop().beep();
            desktop().showModal(frmError(), hwnd());
            return;
        }
        if (optFixedTABS.value())
            replaceTWSfixedSingle();
        else
            replaceTABSwithSPACESSingle();
        cmdGetSourceFile.setFocus();
    });
}
