// The files a run takes from its arguments: wildcards expanded by the program, folders by
// extension, subfolders mirrored, and what is left out.
#include "console_fixture.h"
#include "input_list.h"

namespace {

using Files = std::vector<std::pair<std::string, std::string>>; // source, relative

Files filesOf(const InputList &list) {
    Files files;
    for (const InputFile &file : list.files) files.emplace_back(file.source, file.relative);
    return files;
}

class InputListTest : public ConsoleFolderTest {};

TEST_F(InputListTest, WildcardsTakeMatchingFilesInNameOrderAndNoFolders) {
    write("b.c", "");
    write("A.C", "");
    write("c.cpp", "");
    write("dir.c\\inner.c", "");
    write("hidden.c", "");
    SetFileAttributesW(wideOf(path("hidden.c")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    const InputList list = collectInputs({path("*.c")}, {"txt"}, false);
    EXPECT_EQ(filesOf(list), (Files{{path("A.C"), "A.C"}, {path("b.c"), "b.c"}}));
    EXPECT_TRUE(list.many);
    EXPECT_TRUE(list.problems.empty());
}

TEST_F(InputListTest, WildcardWithoutMatchIsAProblemAndAMissingFileStaysAnInput) {
    write("a.txt", "");
    const InputList list = collectInputs({path("*.none"), path("missing.txt"), path("a.txt")}, {"txt"}, true);
    ASSERT_EQ(list.problems.size(), 1u);
    EXPECT_EQ(list.problems[0].name, path("*.none"));
    EXPECT_EQ(filesOf(list), (Files{{path("missing.txt"), "missing.txt"}, {path("a.txt"), "a.txt"}}));
    // Named files alone are not "many": one of them may go to a destination file.
    EXPECT_FALSE(collectInputs({path("a.txt")}, {"txt"}, false).many);
}

TEST_F(InputListTest, FolderGivesItsFilesOfTheExtensionsAndWithRecursionItsSubfolders) {
    write("src\\b.txt", "");
    write("src\\a.TXT", "");
    write("src\\code.c", "");
    write("src\\notxt", "");
    write("src\\.txt", "");
    write("src\\sub\\c.txt", "");
    write("src\\sub\\deep\\d.c", "");
    write("src\\.git\\e.txt", "");
    SetFileAttributesW(wideOf(path("src\\.git")).c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

    InputList list = collectInputs({path("src")}, {"txt"}, false);
    EXPECT_EQ(filesOf(list), (Files{{path("src\\a.TXT"), "a.TXT"}, {path("src\\b.txt"), "b.txt"}}));
    EXPECT_TRUE(list.many);

    list = collectInputs({path("src\\")}, {"txt", "c"}, true);
    EXPECT_EQ(filesOf(list), (Files{{path("src\\a.TXT"), "a.TXT"},
                                    {path("src\\b.txt"), "b.txt"},
                                    {path("src\\code.c"), "code.c"},
                                    {path("src\\sub\\c.txt"), "sub\\c.txt"},
                                    {path("src\\sub\\deep\\d.c"), "sub\\deep\\d.c"}}));
}

TEST_F(InputListTest, NamesOutsideTheCodePageComeWhole) {
    const std::string name = "\xd1\x82\xd0\xb0\xd0\xb1-\xe8\xa1\xa8.txt";
    write("src\\" + name, "");
    EXPECT_EQ(filesOf(collectInputs({path("src")}, {"txt"}, false)), (Files{{path("src\\" + name), name}}));
    EXPECT_EQ(filesOf(collectInputs({path("src\\*\xe8\xa1\xa8*")}, {"txt"}, false)),
              (Files{{path("src\\" + name), name}}));
}

} // namespace
