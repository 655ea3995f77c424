// The two Browse buttons of the single file: what the dialogs are asked, what is stored, what is
// refused, and what the shared dialog remembers between showings.
#include "dialog_answers.h"
#include "form_fixture.h"

#include "error_message.h"
#include "main/frm_main.h"

#include <commdlg.h>

namespace {

const std::string sameSource = "The source and destination file cannot be the same.\r\n"
                               "Change source or destination file, please...                      ";
const std::string sameDestination = "The source and destination file cannot be the same.\r\n"
                                    "Please save under another file name...                            ";

std::string lower(std::string text) {
    for (char &c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

class FilePickers : public FormTest {};

TEST_F(FilePickers, SourceIsAskedForAnExistingFileAndStoredInLowerCase) {
    FrmMain &frm = main();
    const std::string chosen = writeFile("Notes With Blanks.TXT", "a\tb");
    desk.fileAnswers.push_back(chooseFile(chosen));
    frm.cmdGetSourceFile.click();

    ASSERT_EQ(desk.fileRequests.size(), 1u);
    const FileDialogRequest &asked = desk.fileRequests[0];
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(asked.title, "Locate your file");
    EXPECT_EQ(asked.filter, "All Files (*.*)|*.*|");
    EXPECT_EQ(asked.flags, static_cast<DWORD>(4096));
    EXPECT_EQ(asked.initialDir, dataFolder());
    EXPECT_EQ(asked.owner, frm.hwnd());
    EXPECT_EQ(frm.txtSource.text(), lower(chosen));
    EXPECT_NE(frm.txtSource.text(), chosen); // the temporary folder has capitals
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(FilePickers, EveryClickResetsProgressAndSelectsSingleFileEvenWhenCancelled) {
    FrmMain &frm = main();
    for (auto click : {&FrmMain::cmdGetSourceFile_Click, &FrmMain::cmdGetSaveFile_Click}) {
        frm.ProgressBar1.setMax(10);
        frm.ProgressBar1.setValue(7);
        frm.lblNumberofiles.setCaption("12");
        frm.optClipboard.click();
        (frm.*click)();
        EXPECT_EQ(frm.ProgressBar1.value(), 0);
        EXPECT_EQ(frm.lblNumberofiles.caption(), "Waiting ...");
        EXPECT_TRUE(frm.optSingle.value());
        EXPECT_FALSE(frm.optClipboard.value());
        EXPECT_EQ(frm.optSingle.foreColor(), operationSelectedColour);
        EXPECT_EQ(frm.optClipboard.foreColor(), operationOtherColour);
        EXPECT_EQ(frm.txtSource.text(), "Waiting ...");
        EXPECT_EQ(frm.txtDest.text(), "Waiting ...");
    }
}

TEST_F(FilePickers, AcceptedChoiceClearsTheDialogNameSoACancelChangesNothing) {
    FrmMain &frm = main();
    const std::string source = writeFile("in.txt", "x");
    desk.fileAnswers.push_back(chooseFile(source));
    desk.fileAnswers.push_back(cancelFileDialog());
    desk.fileAnswers.push_back(cancelFileDialog());
    frm.cmdGetSourceFile.click();
    frm.cmdGetSourceFile.click();
    frm.cmdGetSaveFile.click();

    ASSERT_EQ(desk.fileRequests.size(), 3u);
    EXPECT_EQ(desk.fileRequests[1].fileName, "");
    EXPECT_EQ(desk.fileRequests[1].fileTitle, "");
    EXPECT_EQ(desk.fileRequests[2].fileName, "");
    EXPECT_EQ(frm.txtSource.text(), lower(source));
    EXPECT_EQ(frm.txtDest.text(), "Waiting ...");
    EXPECT_EQ(frm.CommonDialog1.fileName, "");
}

TEST_F(FilePickers, DialogStartsInTheFolderOfTheBoxFileOrInTheDataFolderWhenThatFolderIsGone) {
    FrmMain &frm = main();
    CreateDirectoryA((temp() + "Kept Folder").c_str(), nullptr);
    frm.txtSource.setText(temp() + "Kept Folder\\a.txt");
    frm.txtDest.setText(temp() + "Gone Folder\\b.txt");
    frm.cmdGetSourceFile.click();
    frm.cmdGetSaveFile.click();
    ASSERT_EQ(desk.fileRequests.size(), 2u);
    EXPECT_EQ(desk.fileRequests[0].initialDir, temp() + "Kept Folder\\");
    EXPECT_EQ(desk.fileRequests[1].initialDir, dataFolder());

    removeTree(temp() + "Kept Folder");
    frm.cmdGetSourceFile.click();
    EXPECT_EQ(desk.fileRequests[2].initialDir, dataFolder());
}

TEST_F(FilePickers, DestinationIsAskedForAFolderThatExistsWithTheSourceExtensionAsFilter) {
    FrmMain &frm = main();
    struct Case {
        const char *source;
        const char *filter;
    };
    const Case cases[] = {
        {"c:\\texts\\notes.old.txt", "Extension from source (*.txt)|*.txt|"},
        {"Waiting ...", "All files (*.*)|*.*|"},
        {"c:\\texts\\makefile", "All files (*.*)|*.*|"},
        {"c:\\old.files\\readme", "Extension from source (*.files\\readme)|*.files\\readme|"},
    };
    for (const Case &c : cases) {
        frm.txtSource.setText(c.source);
        frm.cmdGetSaveFile.click();
        const FileDialogRequest &asked = desk.fileRequests.back();
        EXPECT_EQ(asked.filter, c.filter) << c.source;
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.title, "Pick a place and name your file");
        EXPECT_EQ(asked.flags, static_cast<DWORD>(2048));
    }
}

TEST_F(FilePickers, SourceEqualToTheDestinationIsRefusedAndTheNameStaysForTheNextShowing) {
    FrmMain &frm = main();
    frm.txtDest.setText("  c:\\work\\a.txt ");
    std::string boxDuringMessage;
    desk.whileMessageShown = [&](const MessageBoxRequest &) { boxDuringMessage = frm.txtSource.text(); };
    desk.fileAnswers.push_back(chooseFile("C:\\Work\\A.TXT"));
    frm.txtSource.setText("c:\\before.txt");
    frm.cmdGetSourceFile.click();

    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, sameSource);
    EXPECT_EQ(desk.messages()[0].title, "Attention!");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxDuringMessage, "c:\\before.txt");
    EXPECT_EQ(frm.txtSource.text(), "Waiting ...");

    // The refused name comes back: a cancelled showing processes it again, and it is refused again.
    frm.cmdGetSourceFile.click();
    EXPECT_EQ(desk.fileRequests[1].fileName, "C:\\Work\\A.TXT");
    EXPECT_EQ(desk.messages().size(), 2u);
}

TEST_F(FilePickers, OnlyTheChosenNameIsLowerCasedBeforeComparing) {
    FrmMain &frm = main();
    frm.txtSource.setText("c:\\work\\a.txt");
    desk.fileAnswers.push_back(chooseFile("C:\\Work\\A.TXT"));
    frm.cmdGetSaveFile.click();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, sameDestination);
    EXPECT_EQ(frm.txtDest.text(), "Waiting ...");

    frm.txtSource.setText("C:\\Work\\a.txt");
    desk.fileAnswers.push_back(chooseFile("c:\\work\\a.txt"));
    frm.cmdGetSaveFile.click();
    EXPECT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(frm.txtDest.text(), "c:\\work\\a.txt");
}

TEST_F(FilePickers, NameRefusedAsDestinationIsTakenAsSourceByTheNextCancelledShowing) {
    FrmMain &frm = main();
    frm.txtSource.setText("c:\\work\\a.txt");
    desk.fileAnswers.push_back(chooseFile("C:\\Work\\A.txt"));
    frm.cmdGetSaveFile.click();
    EXPECT_EQ(frm.txtDest.text(), "Waiting ...");

    frm.cmdGetSourceFile.click(); // cancelled, but the dialog still holds the refused name
    EXPECT_EQ(frm.txtSource.text(), "c:\\work\\a.txt");
    EXPECT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(frm.CommonDialog1.fileName, "");
}

TEST_F(FilePickers, EmptyBoxEndsTheClickWithTheErrorMessageBeforeAnyDialog) {
    FrmMain &frm = main();
    frm.txtSource.setText("");
    frm.cmdGetSourceFile.click();
    frm.txtSource.setText("Waiting ...");
    frm.txtDest.setText("");
    frm.cmdGetSaveFile.click();

    EXPECT_TRUE(desk.fileRequests.empty());
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text,
              standardErrorText(9, "Subscript out of range", "frmMain - cmdGetSourceFile_Click"));
    EXPECT_EQ(desk.messages()[0].title, "Error");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(desk.messages()[1].text,
              standardErrorText(9, "Subscript out of range", "frmMain - cmdGetSaveFile_Click"));
    // The first steps had already run.
    EXPECT_TRUE(frm.optSingle.value());
}

TEST_F(FilePickers, EveryClickMakesTheDataFolderWhenItIsMissing) {
    main();
    std::string data = dataFolder();
    removeTree(data.substr(0, data.size() - 1));
    ASSERT_FALSE(exists(data));
    main().cmdGetSaveFile.click();
    EXPECT_TRUE(exists(data));
}

} // namespace
