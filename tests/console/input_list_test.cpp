// The files a run takes from what its arguments name, on any system: folders by extension in the
// order the platform lists them, subfolders in their place and mirrored, linked folders left alone,
// and each argument or folder that gives nothing named once.
#include "input_list.h"
#include "scripted_names.h"

#include <gtest/gtest.h>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>; // source, relative
using Problems = std::vector<std::pair<std::string, std::int32_t>>;

Files filesOf(const InputList &list) {
    Files files;
    for (const InputFile &file : list.files) files.emplace_back(file.source, file.relative);
    return files;
}

Problems problemsOf(const InputList &list) {
    Problems problems;
    for (const InputProblem &problem : list.problems)
        problems.emplace_back(problem.name, problem.errorNumber);
    return problems;
}

NamedInput folderNamed(const std::string &path) {
    NamedInput named;
    named.kind = NamedInput::Kind::Folder;
    named.path = path;
    return named;
}

NamedInput patternMatching(const std::string &pattern, std::vector<InputFile> files, std::int32_t error = 0) {
    NamedInput named;
    named.kind = NamedInput::Kind::Pattern;
    named.path = pattern;
    named.files = std::move(files);
    named.errorNumber = error;
    return named;
}

class CollectedInputs : public ::testing::Test {
protected:
    void SetUp() override {
        names.given["src"] = folderNamed("src");
        names.folders["src"] = {{"a.txt", false, false}, {"b.c", false, false},   {"sub", true, false},
                                {"link", true, true},    {"notxt", false, false}, {".txt", false, false},
                                {"z.txt", false, false}};
        names.folders["src/sub"] = {{"c.txt", false, false}, {"deep", true, false}};
        names.folders["src/sub/deep"] = {{"d.c", false, false}, {"e.TXT", false, false}};
        names.folders["src/link"] = {{"never.txt", false, false}};
    }
    ScriptedNames names;
};

TEST_F(CollectedInputs, AFolderGivesItsFilesOfTheExtensionsAndWithRecursionItsSubfoldersInPlace) {
    InputList list = collectInputs({"src"}, {"txt"}, false, names);
    EXPECT_EQ(filesOf(list), (Files{{"src/a.txt", "a.txt"}, {"src/z.txt", "z.txt"}}));
    EXPECT_TRUE(list.many);
    EXPECT_TRUE(list.problems.empty());

    // The linked folder is never entered; a subfolder's files come where the subfolder stands.
    list = collectInputs({"src"}, {"txt", "c"}, true, names);
    EXPECT_EQ(filesOf(list), (Files{{"src/a.txt", "a.txt"},
                                    {"src/b.c", "b.c"},
                                    {"src/sub/c.txt", "sub/c.txt"},
                                    {"src/sub/deep/d.c", "sub/deep/d.c"},
                                    {"src/z.txt", "z.txt"}}));
    EXPECT_TRUE(list.problems.empty());
}

TEST_F(CollectedInputs, NamedFilesAreTakenAsTheyAreAndAloneAreNotMany) {
    const InputList list = collectInputs({"missing.txt", "dir/a.c"}, {"txt"}, true, names);
    EXPECT_EQ(filesOf(list), (Files{{"missing.txt", "missing.txt"}, {"dir/a.c", "a.c"}}));
    EXPECT_FALSE(list.many); // one of them may go to a destination file
    EXPECT_TRUE(list.problems.empty());
}

// A folder that fails to list, also below the one given, is named with its reason; everything else
// is still taken.
TEST_F(CollectedInputs, AFolderThatCannotBeListedIsAProblemAndTheRestIsTaken) {
    names.failing["src/sub/deep"] = err::PathFileAccess;
    names.given["gone"] = folderNamed("gone");
    names.failing["gone"] = err::PathNotFound;
    const InputList list = collectInputs({"gone", "src"}, {"txt"}, true, names);
    EXPECT_EQ(filesOf(list),
              (Files{{"src/a.txt", "a.txt"}, {"src/sub/c.txt", "sub/c.txt"}, {"src/z.txt", "z.txt"}}));
    EXPECT_EQ(problemsOf(list),
              (Problems{{"gone", err::PathNotFound}, {"src/sub/deep", err::PathFileAccess}}));
}

// Where the platform expands wildcards itself: the files a pattern matches, or one problem for it.
TEST_F(CollectedInputs, APatternGivesItsMatchesOrOneProblem) {
    names.given["*.c"] = patternMatching("*.c", {{"a.c", "a.c"}, {"b.c", "b.c"}});
    names.given["*.none"] = patternMatching("*.none", {});
    names.given["away/*.c"] = patternMatching("away/*.c", {}, err::PathNotFound);
    const InputList list = collectInputs({"*.none", "*.c", "away/*.c"}, {"txt"}, false, names);
    EXPECT_EQ(filesOf(list), (Files{{"a.c", "a.c"}, {"b.c", "b.c"}}));
    EXPECT_EQ(problemsOf(list), (Problems{{"*.none", err::FileNotFound}, {"away/*.c", err::PathNotFound}}));
    EXPECT_TRUE(list.many);
}

// A run in place puts right what a killed run left in a folder before it takes the folder's files:
// each folder is handed over first, and what it holds afterwards is what is taken.
TEST_F(CollectedInputs, EachFolderIsHandedOverBeforeItsFilesAreTaken) {
    names.given["*.c"] = patternMatching("*.c", {{"a.c", "a.c"}});
    std::string handed;
    const auto putRight = [&](const std::string &folder) {
        handed += folder + ";";
        if (folder == "src") names.folders["src"].push_back({"back.txt", false, false});
        if (folder == "src/sub") names.folders["src/sub"].push_back({"back.txt", false, false});
        if (folder == "") names.given["*.c"] = patternMatching("*.c", {{"a.c", "a.c"}, {"back.c", "back.c"}});
    };
    const InputList list =
        collectInputs({"src", "*.c", "dir/named.txt"}, {"txt", "c"}, true, names, putRight);
    EXPECT_EQ(handed, "src;src/sub;src/sub/deep;;dir;");
    EXPECT_EQ(filesOf(list), (Files{{"src/a.txt", "a.txt"},
                                    {"src/b.c", "b.c"},
                                    {"src/sub/c.txt", "sub/c.txt"},
                                    {"src/sub/deep/d.c", "sub/deep/d.c"},
                                    {"src/sub/back.txt", "sub/back.txt"},
                                    {"src/z.txt", "z.txt"},
                                    {"src/back.txt", "back.txt"},
                                    {"a.c", "a.c"},
                                    {"back.c", "back.c"},
                                    {"dir/named.txt", "named.txt"}}));
}

} // namespace
