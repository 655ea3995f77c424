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
    controls(frm).browseSourceFileButton.click();

    ASSERT_EQ(desk.fileRequests.size(), 1u);
    const FileDialogRequest &asked = desk.fileRequests[0];
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(asked.title, "Locate your file");
    EXPECT_EQ(asked.filter, "All Files (*.*)|*.*|");
    EXPECT_EQ(asked.flags, static_cast<DWORD>(4096));
    EXPECT_EQ(asked.initialDir, dataFolder());
    EXPECT_EQ(asked.owner, frm.hwnd());
    EXPECT_EQ(controls(frm).sourceFileBox.text(), lower(chosen));
    EXPECT_NE(controls(frm).sourceFileBox.text(), chosen); // the temporary folder has capitals
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(FilePickers, EveryClickResetsProgressAndSelectsSingleFileEvenWhenCancelled) {
    FrmMain &frm = main();
    for (Button *browse :
         {&controls(frm).browseSourceFileButton, &controls(frm).browseDestinationFileButton}) {
        controls(frm).progressBar.setMax(10);
        controls(frm).progressBar.setValue(7);
        controls(frm).fileCountLabel.setCaption("12");
        controls(frm).clipboardOption.click();
        browse->click();
        EXPECT_EQ(controls(frm).progressBar.value(), 0);
        EXPECT_EQ(controls(frm).fileCountLabel.caption(), "Waiting ...");
        EXPECT_TRUE(controls(frm).singleFileOption.value());
        EXPECT_FALSE(controls(frm).clipboardOption.value());
        EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationSelectedColour);
        EXPECT_EQ(controls(frm).clipboardOption.foreColor(), operationOtherColour);
        EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
        EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");
    }
}

TEST_F(FilePickers, AcceptedChoiceClearsTheDialogNameSoACancelChangesNothing) {
    FrmMain &frm = main();
    const std::string source = writeFile("in.txt", "x");
    desk.fileAnswers.push_back(chooseFile(source));
    desk.fileAnswers.push_back(cancelFileDialog());
    desk.fileAnswers.push_back(cancelFileDialog());
    controls(frm).browseSourceFileButton.click();
    controls(frm).browseSourceFileButton.click();
    controls(frm).browseDestinationFileButton.click();

    ASSERT_EQ(desk.fileRequests.size(), 3u);
    EXPECT_EQ(desk.fileRequests[1].fileName, "");
    EXPECT_EQ(desk.fileRequests[1].fileTitle, "");
    EXPECT_EQ(desk.fileRequests[2].fileName, "");
    EXPECT_EQ(controls(frm).sourceFileBox.text(), lower(source));
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");
    EXPECT_EQ(WindowProbe::fileDialog(frm).fileName, "");
}

TEST_F(FilePickers, DialogStartsInTheFolderOfTheBoxFileOrInTheDataFolderWhenThatFolderIsGone) {
    FrmMain &frm = main();
    CreateDirectoryA((temp() + "Kept Folder").c_str(), nullptr);
    controls(frm).sourceFileBox.setText(temp() + "Kept Folder\\a.txt");
    controls(frm).destinationFileBox.setText(temp() + "Gone Folder\\b.txt");
    controls(frm).browseSourceFileButton.click();
    controls(frm).browseDestinationFileButton.click();
    ASSERT_EQ(desk.fileRequests.size(), 2u);
    EXPECT_EQ(desk.fileRequests[0].initialDir, temp() + "Kept Folder\\");
    EXPECT_EQ(desk.fileRequests[1].initialDir, dataFolder());

    removeTree(temp() + "Kept Folder");
    controls(frm).browseSourceFileButton.click();
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
        controls(frm).sourceFileBox.setText(c.source);
        controls(frm).browseDestinationFileButton.click();
        const FileDialogRequest &asked = desk.fileRequests.back();
        EXPECT_EQ(asked.filter, c.filter) << c.source;
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.title, "Pick a place and name your file");
        EXPECT_EQ(asked.flags, static_cast<DWORD>(2048));
    }
}

TEST_F(FilePickers, SourceEqualToTheDestinationIsRefusedAndTheNameStaysForTheNextShowing) {
    FrmMain &frm = main();
    controls(frm).destinationFileBox.setText("  c:\\work\\a.txt ");
    std::string boxDuringMessage;
    desk.whileMessageShown = [&](const MessageBoxRequest &) {
        boxDuringMessage = controls(frm).sourceFileBox.text();
    };
    desk.fileAnswers.push_back(chooseFile("C:\\Work\\A.TXT"));
    controls(frm).sourceFileBox.setText("c:\\before.txt");
    controls(frm).browseSourceFileButton.click();

    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, sameSource);
    EXPECT_EQ(desk.messages()[0].title, "Attention!");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxDuringMessage, "c:\\before.txt");
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");

    // The refused name comes back: a cancelled showing processes it again, and it is refused again.
    controls(frm).browseSourceFileButton.click();
    EXPECT_EQ(desk.fileRequests[1].fileName, "C:\\Work\\A.TXT");
    EXPECT_EQ(desk.messages().size(), 2u);
}

TEST_F(FilePickers, OnlyTheChosenNameIsLowerCasedBeforeComparing) {
    FrmMain &frm = main();
    controls(frm).sourceFileBox.setText("c:\\work\\a.txt");
    desk.fileAnswers.push_back(chooseFile("C:\\Work\\A.TXT"));
    controls(frm).browseDestinationFileButton.click();
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, sameDestination);
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");

    controls(frm).sourceFileBox.setText("C:\\Work\\a.txt");
    desk.fileAnswers.push_back(chooseFile("c:\\work\\a.txt"));
    controls(frm).browseDestinationFileButton.click();
    EXPECT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "c:\\work\\a.txt");
}

TEST_F(FilePickers, NameRefusedAsDestinationIsTakenAsSourceByTheNextCancelledShowing) {
    FrmMain &frm = main();
    controls(frm).sourceFileBox.setText("c:\\work\\a.txt");
    desk.fileAnswers.push_back(chooseFile("C:\\Work\\A.txt"));
    controls(frm).browseDestinationFileButton.click();
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");

    controls(frm).browseSourceFileButton.click(); // cancelled, but the dialog still holds the refused name
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "c:\\work\\a.txt");
    EXPECT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(WindowProbe::fileDialog(frm).fileName, "");
}

TEST_F(FilePickers, EmptyBoxEndsTheClickWithTheErrorMessageBeforeAnyDialog) {
    FrmMain &frm = main();
    controls(frm).sourceFileBox.setText("");
    controls(frm).browseSourceFileButton.click();
    controls(frm).sourceFileBox.setText("Waiting ...");
    controls(frm).destinationFileBox.setText("");
    controls(frm).browseDestinationFileButton.click();

    EXPECT_TRUE(desk.fileRequests.empty());
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_EQ(desk.messages()[0].text,
              standardErrorText(9, "Subscript out of range", "frmMain - cmdGetSourceFile_Click"));
    EXPECT_EQ(desk.messages()[0].title, "Error");
    EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(desk.messages()[1].text,
              standardErrorText(9, "Subscript out of range", "frmMain - cmdGetSaveFile_Click"));
    // The first steps had already run.
    EXPECT_TRUE(controls(frm).singleFileOption.value());
}

TEST_F(FilePickers, EveryClickMakesTheDataFolderWhenItIsMissing) {
    main();
    std::string data = dataFolder();
    removeTree(data.substr(0, data.size() - 1));
    ASSERT_FALSE(exists(data));
    controls(main()).browseDestinationFileButton.click();
    EXPECT_TRUE(exists(data));
}

} // namespace
