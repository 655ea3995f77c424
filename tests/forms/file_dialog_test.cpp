// The system's file dialogs as the program runs them: whatever folder the user browses to, the
// program's current directory stays where it was (a folder left current could not be removed).
#include "form_fixture.h"

#include "desktop/file_dialog.h"
#include "main/frm_main.h"
#include "when_active.h"
#include "wide_text.h"

#include <commdlg.h>

#include <string>

namespace {

constexpr const char *dialogTitle = "Quillmere current directory test";
std::string typedName;

// Types a full path into the dialog's file name box and presses its OK button.
void answerDialog(HWND dialog) {
    HWND nameBox = GetDlgItem(dialog, 0x47c); // cmb13: the file name box of the explorer-style dialog
    if (!nameBox) nameBox = GetDlgItem(dialog, 0x480); // edt1
    SetWindowTextW(nameBox, wideOf(typedName).c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Notes where the dialog opened and what its file name box holds, then cancels it.
std::string openedFolder, nameShown;
void noteStartAndCancel(HWND dialog) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    openedFolder = toUtf8(folder);
    HWND nameBox = GetDlgItem(dialog, 0x47c);
    if (!nameBox) nameBox = GetDlgItem(dialog, 0x480);
    wchar_t name[MAX_PATH] = {};
    GetWindowTextW(nameBox, name, MAX_PATH);
    nameShown = toUtf8(name);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

// A stand-in for the system's dialog that opens where Microsoft documents that Windows 7 and later
// open it (OPENFILENAME, lpstrInitialDir): given the initial folder of its first showing again, it
// opens in the folder the user last chose from; else in the folder of a path in the file name; else
// in the initial folder. Wine has no such memory. The user then picks `choice`.
struct DocumentedDialog {
    bool shownBefore = false;
    std::wstring firstInitialDir, lastChosenFolder, choice;
    std::wstring openedIn, nameShown;
} documented;

BOOL WINAPI openAsDocumented(OPENFILENAMEW *dialog) {
    const bool initialGiven = dialog->lpstrInitialDir != nullptr;
    const std::wstring initial = initialGiven ? dialog->lpstrInitialDir : L"";
    const std::wstring file = dialog->lpstrFile;
    const auto slash = file.find_last_of(L'\\');
    if (initialGiven && documented.shownBefore && initial == documented.firstInitialDir &&
        !documented.lastChosenFolder.empty())
        documented.openedIn = documented.lastChosenFolder;
    else if (slash != std::wstring::npos)
        documented.openedIn = file.substr(0, slash + 1);
    else
        documented.openedIn = initialGiven ? initial : L"(the user's documents)";
    documented.nameShown = slash == std::wstring::npos ? file : file.substr(slash + 1);
    if (!documented.shownBefore) documented.firstInitialDir = initial;
    documented.shownBefore = true;
    lstrcpynW(dialog->lpstrFile, documented.choice.c_str(), static_cast<int>(dialog->nMaxFile));
    documented.lastChosenFolder = documented.choice.substr(0, documented.choice.find_last_of(L'\\') + 1);
    return TRUE;
}

bool isTestDialog(HWND window) {
    char name[16] = {}, text[64] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, text, sizeof text);
    return std::string(name) == "#32770" && std::string(text) == dialogTitle;
}

// Past the deadline, whatever dialog this thread shows is cancelled, so the test fails, not hangs.
void cancelAnyDialog(HWND) {
    const HWND dialog = threadWindow("#32770", nullptr);
    if (!dialog) return;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

// Runs the system's dialog for the request and answers it once it is the active window.
bool runAnswered(FileDialogRequest &request, void (*answer)(HWND)) {
    const WhenActive whenShown(isTestDialog, answer, 20000, cancelAnyDialog);
    const bool confirmed = runFileDialog(request);
    const DWORD dialogError = CommDlgExtendedError();
    EXPECT_TRUE(whenShown.ran()) << "no dialog titled \"" << dialogTitle << "\" became active (seen "
                                 << whenShown.seen() << ", dialog error " << dialogError << ")";
    EXPECT_FALSE(whenShown.deadlinePassed()) << "the dialog was still open after 20 s";
    return confirmed;
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
        const bool confirmed = runAnswered(request, answerDialog);
        ASSERT_TRUE(confirmed) << (save ? "save" : "open");
        EXPECT_EQ(request.fileName, chosen);
        EXPECT_EQ(currentDirectory(), before) << (save ? "save" : "open");
    }
}

// The pickers give the folder of the box's file, or the data folder: the dialog opens there, also
// after the user chose a file somewhere else, and starts with the name it keeps (none at first).
TEST_F(FileDialogs, OpenInTheStartFolderAlsoAfterTheUserChoseElsewhere) {
    CreateDirectoryA((temp() + "start").c_str(), nullptr);
    CreateDirectoryA((temp() + "elsewhere").c_str(), nullptr);
    documented = {};
    documented.choice = wideOf(temp() + "elsewhere\\picked.txt");
    for (bool save : {false, true, false}) {
        FileDialogRequest request;
        request.save = save;
        request.initialDir = temp() + "start";
        const std::string startName = documented.shownBefore ? "notes.txt" : "";
        request.fileName = startName;
        ASSERT_TRUE(runFileDialog(request, {openAsDocumented, openAsDocumented}));
        EXPECT_EQ(toUtf8(documented.openedIn), temp() + "start\\") << save;
        EXPECT_EQ(toUtf8(documented.nameShown), startName);
        EXPECT_EQ(request.fileName, temp() + "elsewhere\\picked.txt");
    }

    // The system's own dialog (Wine's) opens there too, with the name in its box.
    for (const char *name : {"", "notes.txt"}) {
        FileDialogRequest request;
        request.title = dialogTitle;
        request.initialDir = temp() + "start";
        request.fileName = name;
        EXPECT_FALSE(runAnswered(request, noteStartAndCancel));
        EXPECT_EQ(openedFolder, temp() + "start") << name;
        EXPECT_EQ(nameShown, name);
        EXPECT_EQ(request.fileName, name) << "a cancelled dialog leaves the name as it was";
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
    ASSERT_TRUE(runAnswered(request, answerDialog));
    EXPECT_EQ(request.fileName, chosen);
    EXPECT_EQ(request.fileTitle, "\xE6\x97\xA5 \xC3\xBC.txt");
}

} // namespace
