// The files a run takes from its arguments as Windows names them: wildcards expanded by the program,
// folders by extension, subfolders mirrored, and what is left out.
#include "console/windows_input_names.h"
#include "console_fixture.h"
#include "input_list.h"

#include <algorithm>
#include <map>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>; // source, relative

Files filesOf(const InputList &list) {
    Files files;
    for (const InputFile &file : list.files) files.emplace_back(file.source, file.relative);
    return files;
}

class InputListTest : public ConsoleFolderTest {
protected:
    InputList collect(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                      bool recursive) {
        return collectInputs(arguments, extensions, recursive, names_);
    }

private:
    WindowsInputNames names_;
};

TEST_F(InputListTest, WildcardsTakeMatchingFilesInNameOrderAndNoFolders) {
    write("b.c", "");
    write("A.C", "");
    write("c.cpp", "");
    write("dir.c\\inner.c", "");
    write("hidden.c", "");
    SetFileAttributesW(wideOf(path("hidden.c")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    const InputList list = collect({path("*.c")}, {"txt"}, false);
    EXPECT_EQ(filesOf(list), (Files{{path("A.C"), "A.C"}, {path("b.c"), "b.c"}}));
    EXPECT_TRUE(list.many);
    EXPECT_TRUE(list.problems.empty());
}

TEST_F(InputListTest, WildcardWithoutMatchIsAProblemAndAMissingFileStaysAnInput) {
    write("a.txt", "");
    const InputList list = collect({path("*.none"), path("missing.txt"), path("a.txt")}, {"txt"}, true);
    ASSERT_EQ(list.problems.size(), 1u);
    EXPECT_EQ(list.problems[0].name, path("*.none"));
    EXPECT_EQ(filesOf(list), (Files{{path("missing.txt"), "missing.txt"}, {path("a.txt"), "a.txt"}}));
    // Named files alone are not "many": one of them may go to a destination file.
    EXPECT_FALSE(collect({path("a.txt")}, {"txt"}, false).many);
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

    InputList list = collect({path("src")}, {"txt"}, false);
    EXPECT_EQ(filesOf(list), (Files{{path("src\\a.TXT"), "a.TXT"}, {path("src\\b.txt"), "b.txt"}}));
    EXPECT_TRUE(list.many);

    list = collect({path("src\\")}, {"txt", "c"}, true);
    EXPECT_EQ(filesOf(list), (Files{{path("src\\a.TXT"), "a.TXT"},
                                    {path("src\\b.txt"), "b.txt"},
                                    {path("src\\code.c"), "code.c"},
                                    {path("src\\sub\\c.txt"), "sub\\c.txt"},
                                    {path("src\\sub\\deep\\d.c"), "sub\\deep\\d.c"}}));
}

// A folder given with forward slashes, as Git's shell writes it, gives names in one form.
TEST_F(InputListTest, NamesFromAFolderOrAWildcardAreInWindowsForm) {
    write("src\\sub\\a.txt", "");
    std::string slashed = folder_;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    EXPECT_EQ(filesOf(collect({slashed + "src"}, {"txt"}, true)),
              (Files{{path("src\\sub\\a.txt"), "sub\\a.txt"}}));
    EXPECT_EQ(filesOf(collect({slashed + "src/sub/*.txt"}, {"txt"}, false)),
              (Files{{path("src\\sub\\a.txt"), "a.txt"}}));
    const InputList none = collect({slashed + "src/*.none"}, {"txt"}, false);
    ASSERT_EQ(none.problems.size(), 1u);
    EXPECT_EQ(none.problems[0].name, path("src\\*.none"));
}

TEST_F(InputListTest, NamesOutsideTheCodePageComeWhole) {
    const std::string name = "\xd1\x82\xd0\xb0\xd0\xb1-\xe8\xa1\xa8.txt";
    write("src\\" + name, "");
    EXPECT_EQ(filesOf(collect({path("src")}, {"txt"}, false)), (Files{{path("src\\" + name), name}}));
    EXPECT_EQ(filesOf(collect({path("src\\*\xe8\xa1\xa8*")}, {"txt"}, false)),
              (Files{{path("src\\" + name), name}}));
}

// The real search, with reparse tags given to entries by name and a failure after the first entry of
// one folder: what Windows gives and Wine does not (cloud files kept online, a share that goes away).
class ScriptedSearch : public FolderSearch {
public:
    std::map<std::wstring, DWORD> tags; // entries of these names carry a reparse point of this tag
    std::wstring failingBelow;          // the search of this folder fails after its first entry
    DWORD failure = ERROR_NETNAME_DELETED;

    HANDLE first(const std::wstring &search, WIN32_FIND_DATAW &found) override {
        const HANDLE handle = FolderSearch::first(search, found);
        if (handle != INVALID_HANDLE_VALUE) {
            folders_[handle] = search.substr(0, search.find_last_of(L'\\'));
            tag(found);
        }
        return handle;
    }
    bool next(HANDLE search, WIN32_FIND_DATAW &found) override {
        if (folders_[search] == failingBelow) {
            SetLastError(failure);
            return false;
        }
        if (!FolderSearch::next(search, found)) return false;
        tag(found);
        return true;
    }

private:
    void tag(WIN32_FIND_DATAW &found) const {
        const auto given = tags.find(found.cFileName);
        if (given == tags.end()) return;
        found.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        found.dwReserved0 = given->second;
    }
    std::map<HANDLE, std::wstring> folders_;
};

// Junctions and symbolic links are not followed (no folder is visited twice); a cloud folder kept
// online, or a deduplicated one, carries a reparse point of another kind and is an ordinary folder.
TEST_F(InputListTest, OnlyLinkedFoldersAreLeftOutByTheirReparseTags) {
    write("src\\a.txt", "");
    for (const char *folder : {"cloud", "dedup", "junction", "symlink"})
        write(std::string("src\\") + folder + "\\in.txt", "");
    ScriptedSearch search;
    search.tags = {{L"cloud", 0x9000701A /* IO_REPARSE_TAG_CLOUD_6 */},
                   {L"dedup", 0x80000013 /* IO_REPARSE_TAG_DEDUP */},
                   {L"junction", IO_REPARSE_TAG_MOUNT_POINT},
                   {L"symlink", IO_REPARSE_TAG_SYMLINK}};
    WindowsInputNames names(search);
    const InputList list = collectInputs({path("src")}, {"txt"}, true, names);
    EXPECT_TRUE(list.problems.empty());
    EXPECT_EQ(filesOf(list), (Files{{path("src\\a.txt"), "a.txt"},
                                    {path("src\\cloud\\in.txt"), "cloud\\in.txt"},
                                    {path("src\\dedup\\in.txt"), "dedup\\in.txt"}}));
}

// A search that fails after its first entry (a share that goes away, a folder removed meanwhile)
// is no quiet end of the listing: that folder is named, and the other folders are still taken.
TEST_F(InputListTest, AFolderWhoseSearchFailsHalfwayIsAProblemNotAShortList) {
    write("src\\a.txt", "");
    write("src\\broken\\b.txt", "");
    write("src\\broken\\c.txt", "");
    write("src\\whole\\d.txt", "");
    ScriptedSearch search;
    search.failingBelow = wideOf(path("src\\broken"));
    WindowsInputNames names(search);
    const InputList list = collectInputs({path("src")}, {"txt"}, true, names);
    EXPECT_EQ(filesOf(list),
              (Files{{path("src\\a.txt"), "a.txt"}, {path("src\\whole\\d.txt"), "whole\\d.txt"}}));
    ASSERT_EQ(list.problems.size(), 1u);
    EXPECT_EQ(list.problems[0].name, path("src\\broken"));
    EXPECT_NE(list.problems[0].errorNumber, 0);
}

TEST_F(InputListTest, StarDotStarTakesNamesWithoutAnExtensionAsCmdDoes) {
    write("Makefile", "");
    write("a.c", "");
    write("README", "");
    write("Make.mk", "");
    EXPECT_EQ(filesOf(collect({path("*.*")}, {"txt"}, false)), (Files{{path("a.c"), "a.c"},
                                                                      {path("Make.mk"), "Make.mk"},
                                                                      {path("Makefile"), "Makefile"},
                                                                      {path("README"), "README"}}));
    EXPECT_EQ(filesOf(collect({path("Make*.*")}, {"txt"}, false)),
              (Files{{path("Make.mk"), "Make.mk"}, {path("Makefile"), "Makefile"}}));
    // Other patterns keep their own meaning.
    EXPECT_EQ(filesOf(collect({path("*.?")}, {"txt"}, false)), (Files{{path("a.c"), "a.c"}}));
}

// Under WOW64 a path into System32 is taken through Sysnative, which reaches the 64-bit folder; the
// program here runs on a 32-bit system, so WOW64 is given.
TEST(NativeSystemPath, System32IsReadThroughSysnativeUnderWow64Only) {
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH + 1);
    ASSERT_GT(length, 0u);
    const std::string root = utf8Of(std::wstring(windows, length));
    EXPECT_EQ(nativeSystemPath(root + "\\System32\\drivers\\etc\\hosts", true),
              root + "\\Sysnative\\drivers\\etc\\hosts");
    EXPECT_EQ(nativeSystemPath(root + "\\SYSTEM32\\*.ini", true), root + "\\Sysnative\\*.ini");
    EXPECT_EQ(nativeSystemPath(root + "\\system32", true), root + "\\Sysnative");
    EXPECT_EQ(nativeSystemPath(root + "\\System32x\\a.txt", true), root + "\\System32x\\a.txt");
    EXPECT_EQ(nativeSystemPath(root + "\\SysWOW64\\a.txt", true), root + "\\SysWOW64\\a.txt");
    EXPECT_EQ(nativeSystemPath("D:\\Windows\\System32\\a.txt", true).rfind("D:\\Windows\\System32", 0), 0u);
    EXPECT_EQ(nativeSystemPath(root + "\\System32\\a.txt", false), root + "\\System32\\a.txt");
}

} // namespace
