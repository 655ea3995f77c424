// The folder's work list: every ordinary file of the chosen extension in the source folder.
#include "errors/show_error.h"
#include "platform/folder_search.h"
#include "run/path_text.h"
#include "ui/frm_main.h"

namespace {

void showCount(FrmMain &frm, int32_t count) {
    const std::string number = std::to_string(count);
    frm.lblHDDENnrOfFiles.setCaption(number);
    frm.lblNumberofiles.setCaption(count == 1 ? "1 file" : number + " files");
}

} // namespace

void FrmMain::countFILES() {
    int32_t count = 0;
    guarded("frmMain - countFILES", [&] {
        const std::string pattern = "*." + Combo1.text();
        List1.clear();
        const std::string folder = addBackslash(txtMultipleFilesPath.text());
        const DrawingPaused paused(List1.hwnd());
        try {
            forEachOrdinaryFile(folder + pattern, [&](const std::string &name) {
                List1.addItem(folder + name);
                ++count;
            });
        } catch (...) {
            // What was listed before the failure stays listed and counted.
            if (count > 0)
                showCount(*this, count);
            throw;
        }
        if (count == 0)
            return lblNumberofiles.setCaption("No files ...");
        showCount(*this, count);
    });
}

void FrmMain::Combo1_Click() { countFILES(); }
