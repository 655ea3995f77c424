#include "engine/main_job_helpers.h"

#include "app/appdata.h"
#include "engine/spaces_number.h"
#include "errors/app_error.h"
#include "errors/frm_error.h"
#include "platform/desktop.h"
#include "platform/modal_loop.h"
#include "platform/text_files.h"
#include "run/path_checks.h"

namespace {

// The hidden count as a 32-bit integer, converted as a typed number is.
int32_t countFromText(const std::string &text) { return wholeNumberFromText<int32_t>(text); }

} // namespace

int16_t spacesNumber(const FrmMain &frm) { return spacesFromText(frm.txtSpacesToUse.text()); }

std::string temporaryPath(const std::string &name) { return appDataFolder(programFolder()) + name; }

void removeTemporary(const std::string &path) {
    if (fileExists(path))
        deleteFileIfPresent(path);
}

void recordFailedInput(FrmMain &frm) {
    if (!frm.itemIsInList())
        frm.frmError().List2.addItem(frm.tEXTO);
}

std::vector<std::string> listEntries(const ListBox &list) {
    std::vector<std::string> entries;
    const int32_t count = list.listCount();
    entries.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int32_t i = 0; i < count; ++i)
        entries.push_back(list.list(i));
    return entries;
}

void replaceEntries(ListBox &list, const std::vector<std::string> &entries) {
    SendMessageA(list.hwnd(), WM_SETREDRAW, FALSE, 0);
    list.clear();
    for (const std::string &entry : entries)
        list.addItem(entry);
    SendMessageA(list.hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.hwnd(), nullptr, TRUE);
}

void progressStep(FrmMain &frm, int32_t filesDone) {
    frm.ProgressBar1.setMax(countFromText(frm.lblHDDENnrOfFiles.caption()));
    frm.ProgressBar1.setValue(filesDone);
    yieldToMessageLoop();
}

void MessagePump::operator()() {
    const DWORD now = GetTickCount();
    if (now - last_ < 50)
        return;
    yieldToMessageLoop();
    last_ = GetTickCount();
}

void showCompletion(const FrmMain &frm, const std::string &text) {
    showMessage(frm.hwnd(), text, job::programTitle, MB_OK | MB_ICONINFORMATION);
}
