// The folder panel's work list: the files of the chosen extension in the source folder, the file count
// the run keeps and shows, the extension filter and its file of extensions, and the hint of the entry
// under the pointer.
#include "work_list.h"
#include "appdata.h"
#include "main/frm_main.h"
#include "path_text.h"
#include "text_files.h"
#include "wide_text.h"
#include "window/controls.h"

namespace {

std::string fileCountText(int32_t count) { return count == 1 ? "1 file" : std::to_string(count) + " files"; }

} // namespace

// The count the run keeps, and shows: the hidden label as a number, the visible one in words.
void FrmMain::showFileCount(int32_t count) {
    run_.filesInList = count;
    controls_.hiddenFileCountLabel.setCaption(std::to_string(count));
    controls_.fileCountLabel.setCaption(fileCountText(count));
}

void FrmMain::listWorkFiles() {
    int32_t count = 0;
    guarded("frmMain - countFILES", [&] {
        ListBox &list = controls_.workList;
        list.clear();
        const std::string folder = addBackslash(controls_.sourceFolderBox.text());
        const DrawingPaused paused(list.hwnd());
        try {
            forEachFileOfExtension(files(), folder, controls_.extensionBox.text(),
                                   [&](const std::string &path) {
                                       list.addItem(path);
                                       ++count;
                                   });
        } catch (...) {
            // What was listed before the failure stays listed and counted.
            if (count > 0) showFileCount(count);
            throw;
        }
        // An empty list says so, and leaves the count the run keeps, and the hidden label, as they
        // were: the run refuses an empty list before it reads the count.
        if (count == 0) return controls_.fileCountLabel.setCaption("No files ...");
        showFileCount(count);
    });
}

void FrmMain::extensionChosen() { listWorkFiles(); }

namespace {

void fillFromFile(ComboBox &combo, const std::string &path) {
    combo.clear();
    // Saved by earlier versions in the ANSI code page, or by today's editors in UTF-8.
    const std::string text = utf8OrAnsiToUtf8(readWholeFile(path, ShareWrite::Allowed));
    for (const std::string &extension : extensionsFromText(text)) combo.addItem(extension);
}

} // namespace

// The extensions from their file, the first chosen when none is; a file that cannot be read gives the
// built-in two, which are then stored.
void FrmMain::loadExtensions(const std::string &path) {
    ComboBox &extensions = controls_.extensionBox;
    try {
        fillFromFile(extensions, path);
        if (extensions.listIndex() < 0) {
            if (!extensions.setListIndex(0)) raiseError(err::InvalidCall);
            extensionChosen();
        }
    } catch (...) {
        addBuiltInExtensions();
        storeExtensions();
    }
}

void FrmMain::addBuiltInExtensions() {
    controls_.extensionBox.addItem("txt");
    controls_.extensionBox.addItem("htm");
}

void FrmMain::storeExtensions() {
    guarded("frmMain - CreateList", [&] {
        const ComboBox &extensions = controls_.extensionBox;
        std::string text;
        for (int32_t i = 0; i < extensions.listCount(); ++i) text += "\r\n" + extensions.list(i);
        appendToFile(appDataFolder(programFolder()) + dataFile::extensions, ansiWhereItFits(text + "\r\n"));
    });
}

void FrmMain::workListMouseMove(int16_t button, int16_t, float x, float y) {
    showListItemTip(controls_.workList, button, x, y);
}
