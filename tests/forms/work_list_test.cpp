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
        frm.Combo1.clear();
        desk.calls.clear();
        return frm;
    }
    void list(const std::string &folder, const std::string &extension) {
        main().Combo1.clear();
        main().Combo1.addItem(extension);
        main().Combo1.setListIndex(0);
        main().txtMultipleFilesPath.setText(folder);
        main().countFILES();
    }
};

TEST_F(WorkList, ListsOnlyNamesWhoseOwnExtensionIsTheChosenOne) {
    writeFile("a.txt", "");
    writeFile("b.txtx", "");
    writeFile("c.html", "");
    writeFile("d.old.txt", "");
    list(temp(), "txt");
    ASSERT_EQ(main().List1.listCount(), 2);
    std::vector<std::string> entries{main().List1.list(0), main().List1.list(1)};
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{temp() + "a.txt", temp() + "d.old.txt"}));
    EXPECT_EQ(main().filesInList, 2);
    list(temp(), "htm");
    EXPECT_EQ(main().List1.listCount(), 0);
    EXPECT_EQ(main().lblNumberofiles.caption(), "No files ...");
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
    for (int i = 0; i < main().List1.listCount(); ++i) entries.push_back(main().List1.list(i));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<std::string>{temp() + "a.txt", temp() + "b.TXT", temp() + "readonly.txt"}));
    EXPECT_EQ(main().filesInList, 3);
    EXPECT_EQ(main().lblNumberofiles.caption(), "3 files");
    SetFileAttributesA((temp() + "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WorkList, OneFileIsCountedInTheSingularAndNoneKeepsTheHiddenCount) {
    writeFile("only.htm", "");
    list(temp(), "htm");
    EXPECT_EQ(main().lblNumberofiles.caption(), "1 file");
    list(temp(), "doc");
    EXPECT_EQ(main().lblNumberofiles.caption(), "No files ...");
    EXPECT_EQ(main().filesInList, 1);
    EXPECT_EQ(main().List1.listCount(), 0);
    list("Waiting ...", "htm");
    EXPECT_EQ(main().lblNumberofiles.caption(), "No files ...");
    EXPECT_TRUE(desk.messages().empty());
}

TEST_F(WorkList, MissingExtensionsFileGivesTheBuiltInPairUnselectedAndWritesIt) {
    withoutFilter().LoadComboFromFile(main().Combo1, dataFolder() + "extensions.txt");
    ASSERT_EQ(main().Combo1.listCount(), 2);
    EXPECT_EQ(main().Combo1.list(0), "txt");
    EXPECT_EQ(main().Combo1.list(1), "htm");
    EXPECT_EQ(main().Combo1.listIndex(), -1);
    EXPECT_EQ(readFile(dataFolder() + "extensions.txt"), "\r\ntxt\r\nhtm\r\n");
}

TEST_F(WorkList, BlankExtensionsFileGetsThePairAppendedAfterItsLines) {
    withoutFilter();
    const std::string path = dataFolder() + "extensions.txt";
    std::ofstream(path, std::ios::binary) << "  \r\n\r\n";
    main().LoadComboFromFile(main().Combo1, path);
    EXPECT_EQ(main().Combo1.listCount(), 2);
    EXPECT_EQ(readFile(path), "  \r\n\r\n\r\ntxt\r\nhtm\r\n");
}

TEST_F(WorkList, ExtensionsAreTakenAsWrittenAndTheFirstIsSelectedAndListed) {
    withoutFilter();
    const std::string path = dataFolder() + "extensions.txt";
    std::ofstream(path, std::ios::binary) << "log\r\n \t\r\n\r txt \r\nlog";
    writeFile("x.log", "");
    main().txtMultipleFilesPath.setText(temp());
    main().LoadComboFromFile(main().Combo1, path);
    ASSERT_EQ(main().Combo1.listCount(), 4);
    EXPECT_EQ(main().Combo1.list(1), " \t");
    EXPECT_EQ(main().Combo1.list(2), " txt ");
    EXPECT_EQ(main().Combo1.text(), "log");
    EXPECT_EQ(main().List1.listCount(), 1);
    EXPECT_EQ(main().lblNumberofiles.caption(), "1 file");
    EXPECT_EQ(readFile(path), "log\r\n \t\r\n\r txt \r\nlog");
}

TEST_F(WorkList, UnwritableExtensionsFileShowsTheMessageAndKeepsTheFilter) {
    withoutFilter();
    const std::string path = dataFolder() + "extensions.txt";
    CreateDirectoryA(path.c_str(), nullptr); // a folder in its place can be neither read nor appended to
    main().LoadComboFromFile(main().Combo1, path);
    EXPECT_EQ(main().Combo1.listCount(), 2);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_NE(desk.messages()[0].text.find("\r\nfrmMain - CreateList\r\n"), std::string::npos);
    RemoveDirectoryA(path.c_str());
}

TEST_F(WorkList, HintShowsTheEntryUnderThePointer) {
    FrmMain &frm = main();
    frm.List1.addItem("C:\\a\\first.txt");
    frm.List1.addItem("C:\\a\\second.txt");
    const int itemHeight = static_cast<int>(SendMessageA(frm.List1.hwnd(), LB_GETITEMHEIGHT, 0, 0));
    const float twipsPerPixel = 1440.0f / static_cast<float>(screenDpi());
    const float secondRow = (itemHeight * 1.5f) * twipsPerPixel;
    frm.List1_MouseMove(0, 0, 30, secondRow);
    EXPECT_EQ(frm.List1.toolTipText(), " C:\\a\\second.txt ");
    frm.List1_MouseMove(1, 0, 30, 2);
    EXPECT_EQ(frm.List1.toolTipText(), " C:\\a\\second.txt ") << "a held button leaves the hint";
    frm.List1_MouseMove(0, 0, -300, -300);
    EXPECT_EQ(frm.List1.toolTipText(), "");
    frm.List1.clear();
    frm.List1_MouseMove(0, 0, 30, 2);
    EXPECT_EQ(frm.List1.toolTipText(), "");
}

} // namespace
