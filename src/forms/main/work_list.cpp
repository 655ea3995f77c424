// The folder panel's work list: the files of the chosen extension in the source folder, the extension
// filter and its file of extensions, and the hint of the entry under the pointer.
#include "appdata.h"
#include "desktop/show_error.h"
#include "folders.h"
#include "locale_text.h"
#include "main/frm_main.h"
#include "path_text.h"
#include "text_files.h"
#include "wide_text.h"
#include "whole_text.h"
#include "window/controls.h"

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
        const DrawingPaused paused(List1.hwnd());
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
}

void FrmMain::Combo1_Click() { countFILES(); }

namespace {

const char *const extensionsFileName = "extensions.txt";

bool blankAfterTrim(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

// A line that no file name could end in (too long for a name, or holding a path separator, a drive
// colon or a wildcard) is no extension; it is skipped rather than searched for.
bool canBeExtension(std::string_view line) {
    return line.size() <= 255 && line.find_first_of("\\/:*?") == std::string_view::npos;
}

void fillFromFile(ComboBox &combo, const std::string &path) {
    combo.clear();
    // Saved by earlier versions in the ANSI code page, or by today's editors in UTF-8.
    const std::string text = utf8OrAnsiToUtf8(readWholeFile(path, ShareWrite::Allowed));
    for (std::string_view line : splitLines(text))
        if (!blankAfterTrim(line) && canBeExtension(line))
            combo.addItem(std::string(line));
}

} // namespace

void FrmMain::LoadComboFromFile(ComboBox &combo, const std::string &path) {
    try {
        fillFromFile(combo, path);
        if (Combo1.listIndex() < 0) {
            if (!Combo1.setListIndex(0))
                raiseError(err::InvalidCall);
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
        for (int32_t i = 0; i < Combo1.listCount(); ++i)
            text += "\r\n" + Combo1.list(i);
        appendToFile(appDataFolder(programFolder()) + extensionsFileName, ansiWhereItFits(text + "\r\n"));
    });
}

void FrmMain::List1_MouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(List1, button, x, y);
}
