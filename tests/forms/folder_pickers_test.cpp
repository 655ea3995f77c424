// The two Browse buttons of the folder run: what the folder dialog is asked, what is stored, what
// is refused, the write probe of the destination, and the error variants.
#include "dialog_answers.h"
#include "form_fixture.h"

#include "app_error.h"
#include "error_message.h"
#include "main/frm_main.h"

#include <fstream>

namespace {

const std::string notAvailable =
    "The location you picked is not available...\r\nPick another folder, please!       ";
const std::string notAccessible =
    "The location you picked is not accessible...\r\nPick another folder, please!       ";
const std::string sameFolder =
    "The source and destination locations cannot be the same.\r\nPlease pick another folder...";

std::string lower(std::string text) {
    for (char &c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::function<bool(FolderDialogRequest &)> failWith(int32_t number) {
    return [number](FolderDialogRequest &) -> bool { throw AppError::of(number); };
}

int filesIn(const std::string &folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

class FolderPickers : public FormTest {
protected:
    std::string makeFolder(const std::string &name) {
        CreateDirectoryA((temp() + name).c_str(), nullptr);
        return temp() + name;
    }
};

TEST_F(FolderPickers, SourceFolderDialogIsAskedAndTheChoiceStoredInLowerCase) {
    FrmMain &frm = main();
    const std::string folder = makeFolder("Source Texts");
    controls(frm).sourceFolderBox.setText("c:\\earlier");
    desk.folderAnswers.push_back(chooseFolder(folder));
    controls(frm).browseSourceFolderButton.click();

    ASSERT_EQ(desk.folderRequests.size(), 1u);
    const FolderDialogRequest &asked = desk.folderRequests[0];
    EXPECT_EQ(asked.caption, "Browse for folder");
    EXPECT_EQ(asked.instruction, "Select a folder please");
    EXPECT_EQ(asked.startFolder, "c:\\earlier");
    EXPECT_EQ(asked.owner, frm.hwnd());
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), lower(folder));
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(FolderPickers, AcceptedSourceFolderRebuildsTheListButARefusedOneLeavesIt) {
    FrmMain &frm = main();
    const std::string first = makeFolder("First");
    const std::string second = makeFolder("Second");
    writeFile("First\\one.txt", "1");
    writeFile("First\\two.txt", "2");
    writeFile("Second\\three.txt", "3");
    desk.folderAnswers.push_back(chooseFolder(first));
    controls(frm).browseSourceFolderButton.click();
    EXPECT_EQ(controls(frm).workList.listCount(), 2);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "2 files");

    controls(frm).destinationFolderBox.setText(lower(second));
    desk.folderAnswers.push_back(chooseFolder(second));
    controls(frm).browseSourceFolderButton.click();
    EXPECT_EQ(controls(frm).workList.listCount(), 2);
    EXPECT_EQ(controls(frm).workList.list(0), lower(first) + "\\one.txt");
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "Waiting ...");

    controls(frm).destinationFolderBox.setText("Waiting ...");
    desk.folderAnswers.push_back(chooseFolder(second));
    controls(frm).browseSourceFolderButton.click();
    EXPECT_EQ(controls(frm).workList.listCount(), 1);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "1 file");
}

TEST_F(FolderPickers, CancellingTheSourceStillResetsProgressButTheDestinationOnlySelectsMultiple) {
    FrmMain &frm = main();
    controls(frm).progressBar.setMax(10);
    controls(frm).progressBar.setValue(4);
    controls(frm).fileCountLabel.setCaption("3");
    controls(frm).browseDestinationFolderButton.click();
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    EXPECT_EQ(controls(frm).multipleFilesOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).progressBar.value(), 4);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "3");

    controls(frm).clipboardOption.click();
    controls(frm).browseSourceFolderButton.click();
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    EXPECT_EQ(controls(frm).progressBar.value(), 0);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "Waiting ...");
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
}

TEST_F(FolderPickers, FolderGoneBeforeItIsCheckedIsNotAvailable) {
    FrmMain &frm = main();
    for (TextBox *box : {&controls(frm).sourceFolderBox, &controls(frm).destinationFolderBox}) {
        const std::string folder = makeFolder("Vanishing");
        box->setText("c:\\before");
        std::string boxDuringMessage;
        desk.whileMessageShown = [&](const MessageBoxRequest &) { boxDuringMessage = box->text(); };
        desk.folderAnswers.push_back([folder](FolderDialogRequest &request) {
            removeTree(folder); // deleted between choosing and the check
            request.chosen = folder;
            return true;
        });
        box == &controls(frm).sourceFolderBox ? controls(frm).browseSourceFolderButton.click()
                                              : controls(frm).browseDestinationFolderButton.click();
        ASSERT_FALSE(desk.messages().empty());
        EXPECT_EQ(desk.messages().back().text, notAvailable);
        EXPECT_EQ(desk.messages().back().title, "Attention!");
        EXPECT_EQ(desk.messages().back().style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(boxDuringMessage, "c:\\before");
        EXPECT_EQ(box->text(), "Waiting ...");
    }
}

TEST_F(FolderPickers, SameFolderIsRefusedWhileTheBoxShowsTheChoice) {
    FrmMain &frm = main();
    const std::string folder = makeFolder("Data");
    controls(frm).destinationFolderBox.setText(std::string(" ").append(lower(folder)).append("  "));
    std::string boxDuringMessage;
    desk.whileMessageShown = [&](const MessageBoxRequest &) {
        boxDuringMessage = controls(frm).sourceFolderBox.text();
    };
    desk.folderAnswers.push_back(chooseFolder(folder));
    controls(frm).browseSourceFolderButton.click();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, sameFolder);
    EXPECT_EQ(boxDuringMessage, lower(folder));
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");

    // The destination side compares with the source box the same way.
    controls(frm).sourceFolderBox.setText(lower(folder));
    desk.folderAnswers.push_back(chooseFolder(folder));
    controls(frm).browseDestinationFolderButton.click();
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[1].text, sameFolder);
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
}

TEST_F(FolderPickers, OnlyTheChoiceIsLowerCasedAndTrailingBackslashesAreNotEvened) {
    FrmMain &frm = main();
    const std::string folder = makeFolder("Data");
    controls(frm).destinationFolderBox.setText(folder); // capitals: never equal to a lower-cased choice
    desk.folderAnswers.push_back(chooseFolder(folder));
    controls(frm).browseSourceFolderButton.click();
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), lower(folder));

    controls(frm).sourceFolderBox.setText(lower(folder));
    desk.folderAnswers.push_back(chooseFolder(folder + "\\"));
    controls(frm).browseDestinationFolderButton.click();
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), lower(folder) + "\\");
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(FolderPickers, ConfirmedEmptyPathKeepsThePreviousTextLowerCased) {
    FrmMain &frm = main();
    controls(frm).sourceFolderBox.setText("C:\\Earlier Folder");
    controls(frm).destinationFolderBox.setText("D:\\Earlier Output");
    desk.folderAnswers.push_back(chooseFolder(""));
    desk.folderAnswers.push_back(chooseFolder(""));
    controls(frm).browseSourceFolderButton.click();
    controls(frm).browseDestinationFolderButton.click();
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "c:\\earlier folder");
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "d:\\earlier output");
}

TEST_F(FolderPickers, DestinationProbeLeavesNoFileAndNeverTouchesAnExistingTestTxt) {
    FrmMain &frm = main();
    const std::string empty = makeFolder("Out Empty") + "\\";
    desk.folderAnswers.push_back(chooseFolder(empty));
    controls(frm).browseDestinationFolderButton.click();
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), lower(empty));
    EXPECT_EQ(filesIn(empty), 0);

    const std::string busy = makeFolder("Out Busy");
    const std::string mine = busy + "\\test.txt";
    std::ofstream(mine, std::ios::binary) << "keep me\r\n";
    desk.folderAnswers.push_back(chooseFolder(busy));
    controls(frm).browseDestinationFolderButton.click();
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), lower(busy));
    EXPECT_EQ(readFile(mine), "keep me\r\n");
    EXPECT_EQ(filesIn(busy + "\\"), 1);
    EXPECT_TRUE(desk.messages().empty());
}

// Wine maps a folder that Unix will not let us write to onto access denied; running as root, the
// read-only kernel folders are such places.
TEST_F(FolderPickers, DestinationThatRefusesWritingIsNotAccessible) {
    const std::string locked = "Z:\\sys\\kernel";
    if (GetFileAttributesA(locked.c_str()) == INVALID_FILE_ATTRIBUTES ||
        CreateDirectoryA((locked + "\\qm-probe").c_str(), nullptr) || GetLastError() != ERROR_ACCESS_DENIED)
        GTEST_SKIP() << "no folder here refuses writing with access denied";
    FrmMain &frm = main();
    std::string boxDuringMessage;
    desk.whileMessageShown = [&](const MessageBoxRequest &) {
        boxDuringMessage = controls(frm).destinationFolderBox.text();
    };
    desk.folderAnswers.push_back(chooseFolder(locked));
    controls(frm).browseDestinationFolderButton.click();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, notAccessible);
    EXPECT_EQ(boxDuringMessage, "z:\\sys\\kernel");
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
}

TEST_F(FolderPickers, SourceErrorsHaveTheirOwnClosingsAndMissingBrowserClosesTheWindow) {
    FrmMain &frm = main();
    desk.folderAnswers.push_back(failWith(err::CannotCreateObject));
    desk.folderAnswers.push_back(failWith(err::InvalidCall));
    controls(frm).browseSourceFolderButton.click();
    controls(frm).browseSourceFolderButton.click();
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text,
              standardErrorText(429, standardDescription(429), "frmMain - cmdBrowseDir_Click",
                                "Re-install the program to fix this."));
    EXPECT_EQ(desk.messages()[0].title, "Error");
    EXPECT_EQ(desk.messages()[1].text,
              standardErrorText(5, "Invalid procedure call or argument", "frmMain - cmdBrowseDir_Click"));
    EXPECT_TRUE(frm.isLoaded());

    desk.folderAnswers.push_back(failWith(err::FileNotFound));
    controls(frm).browseSourceFolderButton.click();
    ASSERT_EQ(desk.messages().size(), 3u);
    EXPECT_EQ(desk.messages()[2].text,
              "An Error was generated:\r\n\r\nDescription:\r\nError 53 - File not found\r\n"
              "frmMain - cmdBrowseDir_Click\r\n\r\nYou need Internet Explorer 4 or higher installed.\r\n\r\n"
              "Quiting now...");
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(FolderPickers, DestinationErrorsKeepTheWindowOpen) {
    FrmMain &frm = main();
    desk.folderAnswers.push_back(failWith(err::CannotCreateObject));
    desk.folderAnswers.push_back(failWith(err::FileNotFound));
    controls(frm).browseDestinationFolderButton.click();
    controls(frm).browseDestinationFolderButton.click();
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text,
              standardErrorText(429, standardDescription(429), "frmMain - cmdBrowseDir2Save_Click",
                                "Re-install the program to fix this."));
    EXPECT_EQ(desk.messages()[1].text,
              standardErrorText(53, "File not found", "frmMain - cmdBrowseDir2Save_Click"));
    EXPECT_TRUE(frm.isLoaded());
}

TEST_F(FolderPickers, FirstSelectionChangeBeforeTheDialogShowsNamesTheNewFolderButton) {
    FrmMain &frm = main();
    HWND dialog =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "Make New Folder", WS_CHILD, 0, 0, 50, 20, dialog,
                                  reinterpret_cast<HMENU>(0x3746), nullptr, nullptr);
    std::vector<std::string> seen;
    desk.folderAnswers.push_back([&](FolderDialogRequest &request) {
        request.selectionChanged(dialog); // not yet visible
        seen.push_back(windowText(button));
        SetWindowTextA(button, "Make New Folder");
        ShowWindow(dialog, SW_SHOWNA);
        request.selectionChanged(dialog); // on screen: left alone
        seen.push_back(windowText(button));
        return false;
    });
    controls(frm).browseDestinationFolderButton.click();
    DestroyWindow(dialog);
    EXPECT_EQ(seen, (std::vector<std::string>{"New Folder", "Make New Folder"}));
    ASSERT_NE(WindowProbe::folderDialog(frm), nullptr);
    EXPECT_EQ(WindowProbe::folderDialog(frm)->dialogWindow(), nullptr); // only while open
    EXPECT_TRUE(WindowProbe::folderDialog(frm)->newFolderButton);
}

} // namespace
