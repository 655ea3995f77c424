// The system's file dialogs as the program runs them: whatever folder the user browses to, the
// program's current directory stays where it was (a folder left current could not be removed).
#include "form_fixture.h"

#include "desktop/file_dialog.h"
#include "main/frm_main.h"

#include <commdlg.h>

#include <string>

namespace {

constexpr const char *dialogTitle = "Quillmere current directory test";
std::string typedName;

// Once the dialog is up, types a full path into its file name box and presses its OK button.
void CALLBACK answerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", dialogTitle);
    if (!dialog) return;
    KillTimer(nullptr, timer);
    HWND nameBox = GetDlgItem(dialog, 0x47c); // cmb13: the file name box of the explorer-style dialog
    if (!nameBox) nameBox = GetDlgItem(dialog, 0x480); // edt1
    SetWindowTextW(nameBox, wideOf(typedName).c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

std::string currentDirectory() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

class FileDialogs : public FormTest {};

TEST_F(FileDialogs, OpenAndSaveLeaveTheCurrentDirectoryWhereItWas) {
    const std::string before = currentDirectory();
    CreateDirectoryA((temp() + "elsewhere").c_str(), nullptr);
    const std::string chosen = writeFile("elsewhere\\picked.txt", "x");
    for (bool save : {false, true}) {
        typedName = chosen;
        FileDialogRequest request;
        request.save = save;
        request.title = dialogTitle;
        request.initialDir = temp();
        request.flags = OFN_HIDEREADONLY | (save ? 0 : OFN_FILEMUSTEXIST);
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, answerDialog);
        const bool confirmed = runFileDialog(request);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(confirmed) << (save ? "save" : "open");
        EXPECT_EQ(request.fileName, chosen);
        EXPECT_EQ(currentDirectory(), before) << (save ? "save" : "open");
    }
}

TEST_F(FileDialogs, ANameOutsideTheCodePageComesBackWhole) {
    const std::string folder = temp() + "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0"; // Папка
    CreateDirectoryW(wideOf(folder).c_str(), nullptr);
    const std::string chosen =
        writeFile("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0\\\xE6\x97\xA5 \xC3\xBC.txt", "x");
    typedName = chosen;
    FileDialogRequest request;
    request.title = dialogTitle;
    request.initialDir = folder;
    request.filter = "\xE6\x96\x87\xE6\x9C\xAC (*.txt)|*.txt|"; // 文本
    request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, answerDialog);
    const bool confirmed = runFileDialog(request);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(request.fileName, chosen);
    EXPECT_EQ(request.fileTitle, "\xE6\x97\xA5 \xC3\xBC.txt");
}

} // namespace
