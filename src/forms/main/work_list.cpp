// The folder panel's work list: the files of the chosen extension in the source folder, the extension
// filter and its file of extensions, and the hint of the entry under the pointer.
#include "work_list.h"
#include "appdata.h"
#include "main/frm_main.h"
#include "path_text.h"
#include "text_files.h"
#include "wide_text.h"
#include "window/controls.h"

namespace {

// The count the run keeps, and shows.
void recordCount(FrmMain &frm, int32_t count) {
    frm.filesInList = count;
    const std::string number = std::to_string(count);
    frm.lblHDDENnrOfFiles.setCaption(number);
    frm.lblNumberofiles.setCaption(count == 1 ? "1 file" : number + " files");
}

} // namespace

void FrmMain::countFILES() {
    int32_t count = 0;
    guarded("frmMain - countFILES", [&] {
        List1.clear();
        const std::string folder = addBackslash(txtMultipleFilesPath.text());
        const DrawingPaused paused(List1.hwnd());
        try {
            forEachFileOfExtension(files(), folder, Combo1.text(), [&](const std::string &path) {
                List1.addItem(path);
                ++count;
            });
        } catch (...) {
            // What was listed before the failure stays listed and counted.
            if (count > 0) recordCount(*this, count);
            throw;
        }
        if (count == 0) return lblNumberofiles.setCaption("No files ...");
        recordCount(*this, count);
    });
}

void FrmMain::Combo1_Click() { countFILES(); }

namespace {

void fillFromFile(ComboBox &combo, const std::string &path) {
    combo.clear();
    // Saved by earlier versions in the ANSI code page, or by today's editors in UTF-8.
    const std::string text = utf8OrAnsiToUtf8(readWholeFile(path, ShareWrite::Allowed));
    for (const std::string &extension : extensionsFromText(text)) combo.addItem(extension);
}

} // namespace

void FrmMain::LoadComboFromFile(ComboBox &combo, const std::string &path) {
    try {
        fillFromFile(combo, path);
        if (Combo1.listIndex() < 0) {
            if (!Combo1.setListIndex(0)) raiseError(err::InvalidCall);
            Combo1_Click();
        }
    } catch (...) {
        LoadInternalList();
        CreateList();
    }
}

void FrmMain::LoadInternalList() {
    Combo1.addItem("txt");
    Combo1.addItem("htm");
}

void FrmMain::CreateList() {
    guarded("frmMain - CreateList", [&] {
        std::string text;
        for (int32_t i = 0; i < Combo1.listCount(); ++i) text += "\r\n" + Combo1.list(i);
        appendToFile(appDataFolder(programFolder()) + dataFile::extensions, ansiWhereItFits(text + "\r\n"));
    });
}

void FrmMain::List1_MouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(List1, button, x, y);
}
