// The extension filter: filled from "extensions.txt" in the per-user data folder, or from the
// built-in pair, which is then written to that file.
#include "app/appdata.h"
#include "engine/whole_text.h"
#include "errors/show_error.h"
#include "platform/text_files.h"
#include "ui/frm_main.h"

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
    const std::string text = readWholeFile(path, ShareWrite::Allowed);
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
        appendToFile(appDataFolder(programFolder()) + extensionsFileName, text + "\r\n");
    });
}
