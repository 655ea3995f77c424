// The folder's work list: every ordinary file of the chosen extension in the source folder.
#include "errors/show_error.h"
#include "platform/ansi_case.h"
#include "platform/folder_search.h"
#include "run/path_text.h"
#include "ui/frm_main.h"

namespace {

// The search matches 8.3 short names too: "*.htm" finds "page.html" through its short name, and
// "*.txt" finds "notes.txtx". Only a name whose own extension is the chosen one is listed (an
// extension with wildcards is left to the search).
bool ownExtensionIs(const std::string &name, const std::string &extension) {
    if (extension.find_first_of("*?") != std::string::npos)
        return true;
    const std::size_t dot = name.find_last_of('.');
    const std::string own = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    return lowerCase(own) == lowerCase(extension);
}

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
        SendMessageA(List1.hwnd(), WM_SETREDRAW, FALSE, 0);
        try {
            forEachOrdinaryFile(folder + pattern, [&](const std::string &name) {
                if (!ownExtensionIs(name, Combo1.text()))
                    return;
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
    SendMessageA(List1.hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(List1.hwnd(), nullptr, TRUE);
}

void FrmMain::Combo1_Click() { countFILES(); }
