// Files and folders dropped on the main window (WM_DROPFILES with a real HDROP): each is taken as
// its Browse button takes a choice, and what no Browse button could choose is refused.
#include "form_fixture.h"

#include "main/frm_main.h"

#include <shlobj.h>

#include <vector>

namespace {

const std::string attention = "Attention!";
const std::string sameSource = "The source and destination file cannot be the same.\r\n"
                               "Change source or destination file, please...                      ";
const std::string sameFolder =
    "The source and destination locations cannot be the same.\r\nPlease pick another folder...";
const std::string severalFiles =
    "Only one file can be dropped at a time.\r\nTo convert several files, drop their folder, please...";
const std::string severalFolders =
    "Only one folder can be dropped at a time.\r\nDrop the folder you want to convert, please...";
const std::string filesAndFolders =
    "Files and folders cannot be dropped together.\r\nDrop one file or one folder, please...";
const std::string notAvailable =
    "The item you dropped is not available...\r\nDrop a file or a folder, please!";
const std::string fileOnDestination = "A file cannot be dropped on the destination file.\r\n"
                                      "Pick the destination with its Browse button, please...";

std::string lower(std::string text) {
    for (char &c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// The drop Explorer hands over: a DROPFILES header, then the wide names, each ended by a NUL, and a
// closing NUL.
HDROP makeDrop(const std::vector<std::string> &paths, POINT point, bool nonClient) {
    std::wstring names;
    for (const std::string &path : paths) names += wideOf(path) + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto *header = static_cast<DROPFILES *>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = nonClient;
    header->fWide = TRUE;
    memcpy(reinterpret_cast<char *>(header) + sizeof(DROPFILES), names.data(),
           names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The middle of a control, in the main window's client coordinates.
POINT middleOf(const FrmMain &frm, HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, frm.hwnd(), reinterpret_cast<POINT *>(&place), 2);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

class Drops : public FormTest {
protected:
    // Dropped on a bare part of the window, away from every box.
    void drop(const std::vector<std::string> &paths) { dropAt(paths, POINT{4, 4}); }
    void dropAt(const std::vector<std::string> &paths, POINT point, bool nonClient = false) {
        PostMessageW(main().hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(paths, point, nonClient)),
                     0);
        pumpAsTheProgramDoes(main());
    }
    void dropOn(const TextBox &box, const std::vector<std::string> &paths) {
        dropAt(paths, middleOf(main(), box.hwnd()));
    }
    std::string makeFolder(const std::string &name) {
        CreateDirectoryW(wideOf(temp() + name).c_str(), nullptr);
        return temp() + name;
    }
    void expectOneRefusal(const std::string &text) {
        ASSERT_EQ(desk.messages().size(), 1u);
        EXPECT_EQ(desk.messages()[0].text, text);
        EXPECT_EQ(desk.messages()[0].title, attention);
        EXPECT_EQ(desk.messages()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        desk.calls.clear();
    }
};

TEST_F(Drops, OneFileAnywhereBecomesTheSourceAsItsBrowseButtonTakesIt) {
    FrmMain &frm = main();
    const std::string file = writeFile("Notes With Blanks.TXT", "a\tb");
    controls(frm).progressBar.setMax(10);
    controls(frm).progressBar.setValue(4);
    controls(frm).fileCountLabel.setCaption("3 files");
    controls(frm).clipboardOption.click();
    drop({file});
    EXPECT_EQ(controls(frm).sourceFileBox.text(), lower(file));
    EXPECT_TRUE(controls(frm).singleFileOption.value());
    EXPECT_EQ(controls(frm).singleFileOption.foreColor(), operationSelectedColour);
    EXPECT_EQ(controls(frm).progressBar.value(), 0);
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "Waiting ...");
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");
    EXPECT_TRUE(desk.messages().empty());
    EXPECT_TRUE(desk.fileRequests.empty()) << "no dialog is shown for a drop";

    // On the destination folder box, or on the title bar, a file is still the source.
    const std::string other = writeFile("Other.txt", "x");
    dropOn(controls(frm).destinationFolderBox, {other});
    EXPECT_EQ(controls(frm).sourceFileBox.text(), lower(other));
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
    RECT frame;
    GetWindowRect(frm.hwnd(), &frame);
    dropAt({file}, POINT{frame.left + 40, frame.top + 5}, true);
    EXPECT_EQ(controls(frm).sourceFileBox.text(), lower(file));
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(Drops, FileThatIsTheDestinationIsRefusedAsBrowseRefusesIt) {
    FrmMain &frm = main();
    const std::string file = writeFile("Same.txt", "a\tb");
    controls(frm).sourceFileBox.setText("c:\\earlier.txt");
    controls(frm).destinationFileBox.setText(" " + lower(file) + " ");
    drop({file});
    expectOneRefusal(sameSource);
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
    EXPECT_EQ(controls(frm).destinationFileBox.text(), " " + lower(file) + " ");
}

TEST_F(Drops, FileOnTheDestinationFileBoxIsRefusedAndChangesNothing) {
    FrmMain &frm = main();
    const std::string file = writeFile("Wanted As Destination.txt", "a");
    controls(frm).sourceFileBox.setText("c:\\source.txt");
    controls(frm).destinationFileBox.setText("c:\\dest.txt");
    controls(frm).multipleFilesOption.click();
    dropOn(controls(frm).destinationFileBox, {file});
    expectOneRefusal(fileOnDestination);
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "c:\\source.txt");
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "c:\\dest.txt");
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
}

TEST_F(Drops, OneFolderBecomesTheSourceFolderWithItsListButNotWhenItIsTheDestination) {
    FrmMain &frm = main();
    const std::string folder = makeFolder("Source Texts");
    writeFile("Source Texts\\one.txt", "1");
    writeFile("Source Texts\\two.txt", "2");
    writeFile("Source Texts\\skip.log", "3");
    controls(frm).progressBar.setMax(10);
    controls(frm).progressBar.setValue(4);
    dropOn(controls(frm).destinationFileBox,
           {folder}); // a folder is never a destination file: it is the source folder
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), lower(folder));
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    EXPECT_EQ(controls(frm).progressBar.value(), 0);
    EXPECT_EQ(controls(frm).workList.listCount(), 2);
    EXPECT_EQ(controls(frm).workList.list(0), lower(folder) + "\\one.txt");
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "2 files");
    EXPECT_EQ(controls(frm).destinationFileBox.text(), "Waiting ...");
    EXPECT_TRUE(desk.messages().empty());
    EXPECT_TRUE(desk.folderRequests.empty());

    const std::string second = makeFolder("Second");
    writeFile("Second\\three.txt", "3");
    controls(frm).destinationFolderBox.setText(lower(second));
    drop({second});
    expectOneRefusal(sameFolder);
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "Waiting ...");
    EXPECT_EQ(controls(frm).workList.listCount(), 2) << "a refused folder leaves the list";
}

TEST_F(Drops, FolderOnTheDestinationFolderBoxBecomesTheDestination) {
    FrmMain &frm = main();
    const std::string folder = makeFolder("Out Folder");
    controls(frm).progressBar.setMax(10);
    controls(frm).progressBar.setValue(4);
    controls(frm).fileCountLabel.setCaption("3 files");
    controls(frm).sourceFolderBox.setText("c:\\in");
    dropOn(controls(frm).destinationFolderBox, {folder});
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), lower(folder));
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), "c:\\in");
    EXPECT_TRUE(controls(frm).multipleFilesOption.value());
    EXPECT_EQ(controls(frm).progressBar.value(), 4) << "the destination picker leaves the bar";
    EXPECT_EQ(controls(frm).fileCountLabel.caption(), "3 files");
    EXPECT_FALSE(exists(folder + "\\test.txt")) << "the write probe is gone";
    EXPECT_TRUE(desk.messages().empty());

    controls(frm).sourceFolderBox.setText(lower(folder));
    dropOn(controls(frm).destinationFolderBox, {folder});
    expectOneRefusal(sameFolder);
    EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
}

TEST_F(Drops, SeveralItemsAMixOrAMissingItemAreRefusedAndChangeNothing) {
    FrmMain &frm = main();
    const std::string one = writeFile("one.txt", "1");
    const std::string two = writeFile("two.txt", "2");
    const std::string folderA = makeFolder("A");
    const std::string folderB = makeFolder("B");
    writeFile("A\\a.txt", "a");
    listTxtFiles(frm, lower(folderA), "Waiting ...", "8");
    controls(frm).sourceFileBox.setText("c:\\kept.txt");
    controls(frm).clipboardOption.click();

    const struct {
        std::vector<std::string> paths;
        const std::string &text;
    } cases[] = {
        {{one, two}, severalFiles},
        {{folderA, folderB}, severalFolders},
        {{one, folderB}, filesAndFolders},
        {{folderA, one, two}, filesAndFolders},
        {{temp() + "gone.txt"}, notAvailable},
        {{one, temp() + "gone.txt"}, notAvailable},
    };
    for (const auto &item : cases) {
        SCOPED_TRACE(item.paths.size());
        dropOn(controls(frm).destinationFolderBox, item.paths);
        expectOneRefusal(item.text);
        EXPECT_EQ(controls(frm).sourceFileBox.text(), "c:\\kept.txt");
        EXPECT_EQ(controls(frm).sourceFolderBox.text(), lower(folderA));
        EXPECT_EQ(controls(frm).destinationFolderBox.text(), "Waiting ...");
        EXPECT_EQ(controls(frm).workList.listCount(), 1);
        EXPECT_TRUE(controls(frm).clipboardOption.value());
    }
}

TEST_F(Drops, DropDuringARunOrUnderAMessageIsIgnored) {
    FrmMain &frm = main();
    const std::string file = writeFile("late.txt", "a");
    runState(frm).running = true;
    drop({file});
    runState(frm).running = false;
    EnableWindow(frm.hwnd(), FALSE);
    drop({file});
    EnableWindow(frm.hwnd(), TRUE);
    EXPECT_EQ(controls(frm).sourceFileBox.text(), "Waiting ...");
    EXPECT_TRUE(desk.messages().empty());

    drop({file}); // the window takes drops again afterwards
    EXPECT_EQ(controls(frm).sourceFileBox.text(), lower(file));
}

// Names outside the code page, and a path past MAX_PATH (made long by its folder: Wine limits a
// name to 255 bytes of UTF-8), come through whole, as from the dialogs.
TEST_F(Drops, NamesInAnyScriptAndPathsPastMaxPathAreTaken) {
    FrmMain &frm = main();
    const std::string greek = writeFile("\xCE\x9A\xCE\xB5\xCE\xAF\xCE\xBC\xCE\xB5\xCE\xBD\xCE\xBF.txt", "a");
    drop({greek});
    EXPECT_EQ(controls(frm).sourceFileBox.text(),
              lower(temp()) + "\xCE\xBA\xCE\xB5\xCE\xAF\xCE\xBC\xCE\xB5\xCE\xBD\xCE\xBF.txt");

    std::string deep = makeFolder(std::string(140, 'D')) + "\\";
    std::string name;
    for (int i = 0; i < 60; ++i) name += "\xE6\x96\x87"; // U+6587
    deep += name;
    CreateDirectoryW(wideOf(deep).c_str(), nullptr);
    const std::string file = deep + "\\Long.TXT";
    writeBytes(file, "\tz\r\n");
    ASSERT_GT(wideOf(file).size(), static_cast<size_t>(MAX_PATH));
    drop({file});
    EXPECT_EQ(controls(frm).sourceFileBox.text(),
              lower(temp()) + std::string(140, 'd') + "\\" + name + "\\long.txt");

    drop({deep});
    EXPECT_EQ(controls(frm).sourceFolderBox.text(), lower(temp()) + std::string(140, 'd') + "\\" + name);
    EXPECT_EQ(controls(frm).workList.listCount(), 1);
    EXPECT_TRUE(desk.messages().empty());
}

} // namespace
