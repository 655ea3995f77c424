// The run button: the selected operation's sequence runs. A folder run lets the window handle its
// messages between files, so a second press can arrive meanwhile; it is ignored.
#include "errors/show_error.h"
#include "ui/frm_main.h"

namespace {

class RunInProgress {
public:
    explicit RunInProgress(FrmMain &frm) : frm_(frm) { frm_.setRunInProgress(true); }
    ~RunInProgress() { frm_.setRunInProgress(false); }
    RunInProgress(const RunInProgress &) = delete;
    RunInProgress &operator=(const RunInProgress &) = delete;

private:
    FrmMain &frm_;
};

} // namespace

void FrmMain::cmdReplaceTABS_Click() {
    if (runInProgress())
        return;
    try {
        const RunInProgress running(*this);
        // Three separate tests: the options form one group, so at most one sequence runs.
        if (optClipboard.value())
            prevcmdReplaceTABSClipboard();
        if (optSingle.value())
            prevcmdReplaceTABSSingle();
        if (optMultiple.value())
            prevcmdReplaceTABSMultiple();
    } catch (const RunStopped &) {
        // The window was asked to close between two files; nothing more is shown.
    }
    if (closeRequested())
        close();
}
