// The names a user gives the native console program: each argument a file or a folder, its bytes as
// they are; folders listed in byte order without hidden names, devices, pipes or links that lead
// nowhere, and linked folders never entered.
#include "command_line.h"
#include "console/posix_input_names.h"
#include "input_list.h"
#include "platform_files.h"

#include "app_error.h"
#include "child_process.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>; // source, relative

Files filesOf(const InputList &list) {
    Files files;
    for (const InputFile &file : list.files) files.emplace_back(file.source, file.relative);
    return files;
}

class PosixNamesTest : public PortableFilesTest {
protected:
    PosixInputNames names;
};

// Names are bytes: "B" before "a", a name that is no UTF-8 comes whole and sorts by its bytes.
TEST_F(PosixNamesTest, AFoldersFilesComeInByteOrderWithoutHiddenNamesOrOtherKindsOfEntry) {
    const std::string latin1 = "caf\xe9.txt"; // no UTF-8: the byte 0xE9 alone
    write("src/b.txt", "");
    write("src/B.txt", "");
    write("src/" + latin1, "");
    write("src/a.TXT", "");
    write("src/.hidden.txt", "");
    write("src/.git/e.txt", "");
    write("src/sub/c.txt", "");
    ASSERT_EQ(mkfifo(path("src/pipe.txt").c_str(), 0600), 0);
    ASSERT_EQ(symlink("nowhere.txt", path("src/dangling.txt").c_str()), 0);
    ASSERT_EQ(symlink("b.txt", path("src/linked.txt").c_str()), 0);

    EXPECT_EQ(filesOf(collectInputs({path("src")}, {"txt"}, true, names)),
              (Files{{path("src/B.txt"), "B.txt"},
                     {path("src/b.txt"), "b.txt"},
                     {path("src/") + latin1, latin1},
                     {path("src/linked.txt"), "linked.txt"},
                     {path("src/sub/c.txt"), "sub/c.txt"}}));
    // Extensions are compared byte for byte, as names are.
    EXPECT_EQ(filesOf(collectInputs({path("src/")}, {"TXT"}, false, names)),
              (Files{{path("src/a.TXT"), "a.TXT"}}));
}

// -r follows no symbolic link to a folder: a link to a folder above would loop, and one to a folder
// elsewhere would take files from outside the folder given. A folder given by a link is that folder.
TEST_F(PosixNamesTest, ALinkToAFolderIsNeverEnteredButAFolderGivenByALinkIsTaken) {
    write("src/a.txt", "");
    write("elsewhere/b.txt", "");
    ASSERT_EQ(symlink("..", path("src/up").c_str()), 0);
    ASSERT_EQ(symlink(path("elsewhere").c_str(), path("src/away").c_str()), 0);
    ASSERT_EQ(symlink("src", path("given").c_str()), 0);

    const InputList list = collectInputs({path("src"), path("given")}, {"txt"}, true, names);
    EXPECT_EQ(filesOf(list), (Files{{path("src/a.txt"), "a.txt"}, {path("given/a.txt"), "a.txt"}}));
    EXPECT_TRUE(list.problems.empty());
}

// The shell expands patterns; what reaches the program with a * in it is a name.
TEST_F(PosixNamesTest, APatternIsANameAndAMissingFileStaysAnInput) {
    write("a.txt", "");
    write("*.c", "");
    const InputList list = collectInputs({path("*.txt"), path("*.c"), "rel/x.txt"}, {"txt"}, false, names);
    EXPECT_EQ(filesOf(list), (Files{{path("*.txt"), "*.txt"}, {path("*.c"), "*.c"}, {"rel/x.txt", "x.txt"}}));
    EXPECT_FALSE(list.many);
    EXPECT_TRUE(list.problems.empty());
}

TEST_F(PosixNamesTest, AFolderThatCannotBeListedIsNamedWithItsReason) {
    try {
        names.entries(path("missing"));
        ADD_FAILURE() << "a missing folder was listed";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::PathNotFound);
    }
    write("file.txt", "");
    EXPECT_THROW(names.entries(path("file.txt")), AppError);
    write("locked/a.txt", "");
    write("open/b.txt", "");
    ASSERT_EQ(chmod(path("locked").c_str(), 0), 0);
    // Root lists every folder: as root, the listing is made by the "nobody" user in a child process,
    // which answers what it found.
    const auto listing = [&] {
        const InputList list = collectInputs({path("")}, {"txt"}, true, names);
        std::string found;
        for (const InputFile &file : list.files) found += file.relative + ";";
        for (const InputProblem &problem : list.problems)
            found += problem.name + ": " + std::to_string(problem.errorNumber) + ";";
        return found;
    };
    const std::string expected = "file.txt;open/b.txt;" + path("locked") + ": 75;";
    const std::string found =
        runningAsRoot() ? inChild([&] { return becomeNobody() ? listing() : "cannot become nobody"; })
                        : listing();
    EXPECT_EQ(found, expected);
}

TEST(PosixNames, TheCommandLineKnowsNoDevicesAndDiscardsIntoDevNull) {
    const PosixInputNames names;
    const ParsedCommandLine discarding = parseCommandLine({"-o", "/dev/null", "a.txt"}, names);
    ASSERT_TRUE(discarding.options);
    EXPECT_TRUE(discarding.options->discardOutput);
    EXPECT_EQ(discarding.options->destination, "");

    // Windows' device names and NUL are files here, and a quote is part of a name.
    const ParsedCommandLine files = parseCommandLine({"-o", "NUL", "CON", "aux", "say \"hi\".txt"}, names);
    ASSERT_TRUE(files.options) << files.error;
    EXPECT_FALSE(files.options->discardOutput);
    EXPECT_EQ(files.options->destination, "NUL");
    EXPECT_EQ(files.options->inputs, (std::vector<std::string>{"CON", "aux", "say \"hi\".txt"}));

    EXPECT_TRUE(names.hasExtension("a.txt", "txt"));
    EXPECT_FALSE(names.hasExtension(".txt", "txt"));
    EXPECT_FALSE(names.hasExtension("atxt", "txt"));
    EXPECT_FALSE(names.hasExtension("a.TXT", "txt"));
    EXPECT_EQ(names.joined("", "a"), "a");
    EXPECT_EQ(names.joined("d/", "a"), "d/a");
    EXPECT_EQ(names.joined("d", "a"), "d/a");
}

} // namespace
