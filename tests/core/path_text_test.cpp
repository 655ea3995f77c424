#include <gtest/gtest.h>

#include "app_error.h"
#include "path_text.h"
#include "wildcard.h"

namespace {

struct PartCase {
    const char *path;
    int32_t part;
    const char *expected;
};

void PrintTo(const PartCase &c, std::ostream *os) {
    *os << ::testing::PrintToString(std::string(c.path)) << " part " << c.part;
}

class FilePart : public ::testing::TestWithParam<PartCase> {};

TEST_P(FilePart, TakesPathApart) {
    const PartCase &c = GetParam();
    EXPECT_EQ(filePart(c.path, c.part), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FilePart,
                         ::testing::Values(PartCase{"C:\\Text\\notes.old.txt", 0, "txt"},
                                           PartCase{"C:\\Text\\notes.old.txt", 1, "notes"},
                                           PartCase{"C:\\Text\\notes.old.txt", 2, "notes.old.txt"},
                                           PartCase{"C:\\Text\\notes.old.txt", 3, "C:\\Text\\"},
                                           // The extension is taken over the whole path, folders included.
                                           PartCase{"C:\\old.files\\readme", 0, "files\\readme"},
                                           PartCase{"C:\\old.files\\readme", 1, "readme"},
                                           PartCase{"C:\\a\\a", 3, "C:\\a\\"},
                                           PartCase{"readme.txt", 2, "readme.txt"},
                                           PartCase{"readme.txt", 3, ""}, PartCase{"readme.txt", 1, "readme"},
                                           PartCase{"C:\\dir\\", 2, ""}, PartCase{"C:\\dir\\", 1, ""},
                                           PartCase{"C:\\dir\\", 3, "C:\\dir\\"}, PartCase{"noext", 0, ""},
                                           PartCase{"name.", 0, ""}, PartCase{".hidden", 1, ""},
                                           PartCase{"C:\\x.txt", 4, ""}, PartCase{"C:\\x.txt", -1, ""},
                                           PartCase{"", 0, ""}, PartCase{"", 4, ""}));

TEST(FilePart, EmptyPathFailsWithSubscriptOutOfRangeForNameAndFolder) {
    for (int32_t part : {1, 2, 3}) {
        try {
            filePart("", part);
            FAIL() << "no error for part " << part;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, 9);
        }
    }
}

TEST(AddBackslash, EndsWithExactlyOneAddedBackslash) {
    EXPECT_EQ(addBackslash("C:\\Text"), "C:\\Text\\");
    EXPECT_EQ(addBackslash("C:\\Text\\"), "C:\\Text\\");
    EXPECT_EQ(addBackslash(""), "\\");
    EXPECT_EQ(addBackslash("C:"), "C:\\");
    EXPECT_EQ(addBackslash("a/"), "a/\\");
}

TEST(FolderAndNameOfPath, CutAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(folderOfPath("C:\\Text\\a.txt"), "C:\\Text");
    EXPECT_EQ(folderOfPath("C:\\a.txt"), "C:");
    EXPECT_EQ(folderOfPath("out/sub\\a.txt"), "out/sub");
    EXPECT_EQ(folderOfPath("dir\\sub/a.txt"), "dir\\sub");
    EXPECT_EQ(folderOfPath("a.txt"), "");
    EXPECT_EQ(folderOfPath("\\\\server\\share\\a"), "\\\\server\\share");
    EXPECT_EQ(nameOfPath("C:\\Text\\a.txt"), "a.txt");
    EXPECT_EQ(nameOfPath("out/sub\\b"), "b");
    EXPECT_EQ(nameOfPath("a.txt"), "a.txt");
    EXPECT_EQ(nameOfPath("dir\\"), "");
}

} // namespace

// Wildcards as the console program expands its arguments; case is folded by the caller.
TEST(Wildcard, StarMatchesAnyRunAndQuestionMarkExactlyOneCharacter) {
    struct Case {
        const wchar_t *pattern, *name;
        bool matches;
    };
    const Case cases[] = {
        {L"*.c", L"main.c", true},
        {L"*.c", L"main.cpp", false},
        {L"*.c", L".c", true},
        {L"*", L"", true},
        {L"?", L"", false},
        {L"a?c", L"abc", true},
        {L"a?c", L"ac", false},
        {L"a*b*c", L"a-b-b-c", true},
        {L"a*b*c", L"a-c-b", false},
        {L"*.*", L"noext", false},
        {L"*x", L"xxxx", true},
        {L"**", L"abc", true},
        {L"t?ree.*", L"three.h", true},
        {L"*ab", L"aab", true},
        {L"*ab", L"aabb", false},
        {L"data*.txt", L"data.txt", true},
        {L"name", L"name", true},
        {L"name", L"names", false},
        {L"*.TXT", L"A.txt", false}, // exact: folding is the caller's
    };
    for (const Case &c : cases)
        EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.matches)
            << "pattern " << ::testing::PrintToString(std::wstring(c.pattern)) << " name "
            << ::testing::PrintToString(std::wstring(c.name));
    EXPECT_TRUE(hasWildcard(L"src\\*.c"));
    EXPECT_TRUE(hasWildcard(L"a?"));
    EXPECT_FALSE(hasWildcard(L"plain.txt"));
}
