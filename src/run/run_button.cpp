// The run button: the selected operation's sequence runs. A folder run lets the window handle its
// messages between files, a single-file run between blocks, so a second press can arrive meanwhile;
// it is ignored. The wait cursor shows while a run works.
#include "ui/frm_main.h"

namespace {

class RunInProgress {
public:
    explicit RunInProgress(FrmMain &frm) : frm_(frm) {
        frm_.setRunInProgress(true);
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    }
    ~RunInProgress() {
        frm_.setRunInProgress(false);
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    RunInProgress(const RunInProgress &) = delete;
    RunInProgress &operator=(const RunInProgress &) = delete;

private:
    FrmMain &frm_;
};

} // namespace

void FrmMain::cmdReplaceTABS_Click() {
    if (runInProgress())
        return;
    const RunInProgress running(*this);
    // Three separate tests: the options form one group, so at most one sequence runs.
    if (optClipboard.value())
        prevcmdReplaceTABSClipboard();
    if (optSingle.value())
        prevcmdReplaceTABSSingle();
    if (optMultiple.value())
        prevcmdReplaceTABSMultiple();
}
