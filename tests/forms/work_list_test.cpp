// The folder's work list and the extension filter.
#include "engine_support.h"
#include "form_fixture.h"

#include "main/frm_main.h"
#include "window/controls.h"
#include "window/layout.h"

#include <algorithm>
#include <fstream>

namespace {

class WorkList : public FormTest {
protected:
    // The window as loaded, with the filter and its file gone, and nothing shown yet.
    FrmMain &withoutFilter() {
        FrmMain &frm = main();
        DeleteFileA((dataFolder() + "extensions.txt").c_str());
        controls(frm).extensionBox.clear();
        desk.calls.clear();
        return frm;
    }
    void list(const std::string &folder, const std::string &extension) {
        controls(main()).extensionBox.clear();
        controls(main()).extensionBox.addItem(extension);
        controls(main()).extensionBox.setListIndex(0);
        controls(main()).sourceFolderBox.setText(folder);
        main().listWorkFiles();
    }
};

TEST_F(WorkList, ListsOnlyNamesWhoseOwnExtensionIsTheChosenOne) {
    writeFile("a.txt", "");
    writeFile("b.txtx", "");
    writeFile("c.html", "");
    writeFile("d.old.txt", "");
    list(temp(), "txt");
    ASSERT_EQ(controls(main()).workList.listCount(), 2);
    std::vector<std::string> entries{controls(main()).workList.list(0), controls(main()).workList.list(1)};
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{temp() + "a.txt", temp() + "d.old.txt"}));
    EXPECT_EQ(runState(main()).filesInList, 2);
    list(temp(), "htm");
    EXPECT_EQ(controls(main()).workList.listCount(), 0);
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "No files ...");
}

TEST_F(WorkList, ListsOrdinaryFilesOfTheExtensionAsFullPaths) {
    writeFile("a.txt", "");
    writeFile("b.TXT", "");
    writeFile("c.htm", "");
    SetFileAttributesA(writeFile("hidden.txt", "").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(writeFile("system.txt", "").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(writeFile("readonly.txt", "").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((temp() + "folder.txt").c_str(), nullptr);
    list(temp().substr(0, temp().size() - 1), "txt");
    std::vector<std::string> entries;
    for (int i = 0; i < controls(main()).workList.listCount(); ++i)
        entries.push_back(controls(main()).workList.list(i));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<std::string>{temp() + "a.txt", temp() + "b.TXT", temp() + "readonly.txt"}));
    EXPECT_EQ(runState(main()).filesInList, 3);
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "3 files");
    SetFileAttributesA((temp() + "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WorkList, OneFileIsCountedInTheSingularAndNoneKeepsTheHiddenCount) {
    writeFile("only.htm", "");
    list(temp(), "htm");
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "1 file");
    list(temp(), "doc");
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "No files ...");
    EXPECT_EQ(runState(main()).filesInList, 1);
    EXPECT_EQ(controls(main()).workList.listCount(), 0);
    list("Waiting ...", "htm");
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "No files ...");
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(WorkList, MissingExtensionsFileGivesTheBuiltInPairUnselectedAndWritesIt) {
    withoutFilter().loadExtensions(dataFolder() + "extensions.txt");
    ASSERT_EQ(controls(main()).extensionBox.listCount(), 2);
    EXPECT_EQ(controls(main()).extensionBox.list(0), "txt");
    EXPECT_EQ(controls(main()).extensionBox.list(1), "htm");
    EXPECT_EQ(controls(main()).extensionBox.listIndex(), -1);
    EXPECT_EQ(readFile(dataFolder() + "extensions.txt"), "\r\ntxt\r\nhtm\r\n");
}

TEST_F(WorkList, BlankExtensionsFileGetsThePairAppendedAfterItsLines) {
    withoutFilter();
    const std::string path = dataFolder() + "extensions.txt";
    std::ofstream(path, std::ios::binary) << "  \r\n\r\n";
    main().loadExtensions(path);
    EXPECT_EQ(controls(main()).extensionBox.listCount(), 2);
    EXPECT_EQ(readFile(path), "  \r\n\r\n\r\ntxt\r\nhtm\r\n");
}

TEST_F(WorkList, ExtensionsAreTakenAsWrittenAndTheFirstIsSelectedAndListed) {
    withoutFilter();
    const std::string path = dataFolder() + "extensions.txt";
    std::ofstream(path, std::ios::binary) << "log\r\n \t\r\n\r txt \r\nlog";
    writeFile("x.log", "");
    controls(main()).sourceFolderBox.setText(temp());
    main().loadExtensions(path);
    ASSERT_EQ(controls(main()).extensionBox.listCount(), 4);
    EXPECT_EQ(controls(main()).extensionBox.list(1), " \t");
    EXPECT_EQ(controls(main()).extensionBox.list(2), " txt ");
    EXPECT_EQ(controls(main()).extensionBox.text(), "log");
    EXPECT_EQ(controls(main()).workList.listCount(), 1);
    EXPECT_EQ(controls(main()).fileCountLabel.caption(), "1 file");
    EXPECT_EQ(readFile(path), "log\r\n \t\r\n\r txt \r\nlog");
}

TEST_F(WorkList, UnwritableExtensionsFileShowsTheMessageAndKeepsTheFilter) {
    withoutFilter();
    const std::string path = dataFolder() + "extensions.txt";
    CreateDirectoryA(path.c_str(), nullptr); // a folder in its place can be neither read nor appended to
    main().loadExtensions(path);
    EXPECT_EQ(controls(main()).extensionBox.listCount(), 2);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_NE(desk.messages()[0].text.find("\r\nfrmMain - CreateList\r\n"), std::string::npos);
    RemoveDirectoryA(path.c_str());
}

TEST_F(WorkList, HintShowsTheEntryUnderThePointer) {
    FrmMain &frm = main();
    controls(frm).workList.addItem("C:\\a\\first.txt");
    controls(frm).workList.addItem("C:\\a\\second.txt");
    const int itemHeight =
        static_cast<int>(SendMessageA(controls(frm).workList.hwnd(), LB_GETITEMHEIGHT, 0, 0));
    const float twipsPerPixel = 1440.0f / static_cast<float>(screenDpi());
    const float secondRow = (itemHeight * 1.5f) * twipsPerPixel;
    frm.workListMouseMove(0, 0, 30, secondRow);
    EXPECT_EQ(controls(frm).workList.toolTipText(), " C:\\a\\second.txt ");
    frm.workListMouseMove(1, 0, 30, 2);
    EXPECT_EQ(controls(frm).workList.toolTipText(), " C:\\a\\second.txt ") << "a held button leaves the hint";
    frm.workListMouseMove(0, 0, -300, -300);
    EXPECT_EQ(controls(frm).workList.toolTipText(), "");
    controls(frm).workList.clear();
    frm.workListMouseMove(0, 0, 30, 2);
    EXPECT_EQ(controls(frm).workList.toolTipText(), "");
}

} // namespace
