// Sources read in blocks, whole files written, folders made and files told apart, and the program's
// error numbers for what the system reports.
#include "posix_fixture.h"

#include "posix_error.h"
#include "posix_file_system.h"
#include "posix_paths.h"

#include <cerrno>
#include <unistd.h>

namespace {

class Files : public PosixTest {
protected:
    ScriptedCalls calls;
    PosixFileSystem files{calls};

    int openFailure(const std::string &at) {
        try {
            files.openForReading(at, ShareWrite::Allowed);
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
};

constexpr std::size_t mebibyte = 1024 * 1024;

TEST_F(Files, ASourceIsReadInBlocksOfAMebibyteAtMost) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> blocks;
    };
    const Case cases[] = {
        {0, {}},
        {100, {100}},
        {mebibyte, {mebibyte}},
        {mebibyte + 1, {mebibyte, 1}},
        {2 * mebibyte + mebibyte / 2, {mebibyte, mebibyte, mebibyte / 2}},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.size);
        std::string bytes(each.size, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 23);
        writeFile("source.txt", bytes);
        const auto source = files.openForReading(path("source.txt"), ShareWrite::Denied);
        ASSERT_EQ(source->length(), each.size);
        std::vector<std::size_t> blocks;
        std::string read;
        source->readBlocks(source->length(), [&](const char *data, std::size_t size) {
            blocks.push_back(size);
            read.append(data, size);
        });
        EXPECT_EQ(blocks, each.blocks);
        EXPECT_TRUE(read == bytes);
    }
}

TEST_F(Files, OnlyTheLengthAskedForIsReadAndAShrinkingFileFailsWith62) {
    writeFile("grown.txt", "abcdef");
    const auto grown = files.openForReading(path("grown.txt"), ShareWrite::Allowed);
    std::string read;
    grown->readBlocks(4, [&](const char *data, std::size_t size) { read.append(data, size); });
    EXPECT_EQ(read, "abcd");

    writeFile("shrinks.txt", std::string(mebibyte + 10, 'x'));
    const auto source = files.openForReading(path("shrinks.txt"), ShareWrite::Allowed);
    int blocks = 0;
    try {
        source->readBlocks(source->length(), [&](const char *, std::size_t) {
            if (++blocks == 1) {
                ASSERT_EQ(truncate(path("shrinks.txt").c_str(), mebibyte + 5), 0);
            }
        });
        ADD_FAILURE() << "read past the end";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 62);
    }
    EXPECT_EQ(blocks, 1);
}

TEST_F(Files, WhatCannotBeReadIsReportedByTheProgramsNumbers) {
    mkdir(path("folder").c_str(), 0755);
    writeFile("file.txt", "x");
    EXPECT_EQ(openFailure(path("missing.txt")), 53);
    EXPECT_EQ(openFailure(path("no folder/missing.txt")), 76);
    EXPECT_EQ(openFailure(path("file.txt/inside.txt")), 76); // a file where a folder should be
    // Separators after the last name, read as Windows reads "file.txt\" and "missing\".
    EXPECT_EQ(openFailure(path("file.txt/")), 52);
    EXPECT_EQ(openFailure(path("file.txt//")), 52);
    EXPECT_EQ(openFailure(path("file.txt/inside/")), 76);
    EXPECT_EQ(openFailure(path("missing/")), 53);
    EXPECT_EQ(openFailure(path("no folder/missing/")), 76);
    EXPECT_EQ(openFailure(""), 76);
    EXPECT_EQ(openFailure(path("folder")), 75);
    EXPECT_EQ(openFailure(path(std::string(300, 'n'))), 52);
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0644), 0);
    EXPECT_EQ(openFailure(path("pipe")), 75); // refused, not waited on for a writer
}

TEST_F(Files, TheSystemsReasonsMapToTheProgramsErrors) {
    const std::pair<int, int> table[] = {
        {ENOENT, 53},  {ENOTDIR, 76}, {EACCES, 75}, {EPERM, 75}, {EROFS, 75},
        {EISDIR, 75},  {ENOSPC, 61},  {EDQUOT, 61}, {ELOOP, 52}, {ENAMETOOLONG, 52},
        {ETXTBSY, 70}, {EBUSY, 70},   {ENOMEM, 7},  {EIO, 75},
    };
    for (const auto &[code, number] : table) EXPECT_EQ(errorNumberForErrno(code), number) << "errno " << code;
    mkdir(path("there").c_str(), 0755);
    EXPECT_EQ(errorNumberForPath(ENOENT, path("there/a.txt")), 53);
    EXPECT_EQ(errorNumberForPath(ENOENT, path("gone/a.txt")), 76);
    EXPECT_EQ(errorNumberForPath(EACCES, path("gone/a.txt")), 75);
}

TEST(PosixPaths, SplitAtSlashesOnlyAndABackslashBelongsToTheName) {
    EXPECT_EQ(folderOf("dir/sub/a.txt"), "dir/sub");
    EXPECT_EQ(folderOf("a.txt"), ".");
    EXPECT_EQ(folderOf("/a.txt"), "/");
    EXPECT_EQ(folderOf("dir\\a.txt"), ".");
    EXPECT_EQ(nameOf("dir/sub/a.txt"), "a.txt");
    EXPECT_EQ(nameOf("dir/a\\b.txt"), "a\\b.txt");
    EXPECT_EQ(nameOf("a.txt"), "a.txt");
    EXPECT_EQ(joined("dir", "a.txt"), "dir/a.txt");
    EXPECT_EQ(joined("dir/", "a.txt"), "dir/a.txt");
    EXPECT_EQ(joined("/", "a.txt"), "/a.txt");
    EXPECT_EQ(joined("", "a.txt"), "a.txt");
    EXPECT_EQ(withoutTrailingSlashes("dir//"), "dir");
    EXPECT_EQ(withoutTrailingSlashes("dir/a"), "dir/a");
    EXPECT_EQ(withoutTrailingSlashes("//"), "/");
}

TEST_F(Files, AnOpenSourceKnowsTheNamesThatReachIt) {
    mkdir(path("dir").c_str(), 0755);
    writeFile("dir/a.txt", "a");
    writeFile("dir/b.txt", "b");
    ASSERT_EQ(link(path("dir/a.txt").c_str(), path("hard").c_str()), 0);
    ASSERT_EQ(symlink("dir/a.txt", path("soft").c_str()), 0);
    const auto source = files.openForReading(path("dir/a.txt"), ShareWrite::Allowed);
    EXPECT_EQ(source->isAt(path("dir/../dir/a.txt")), Sameness::Same);
    EXPECT_EQ(source->isAt(path("hard")), Sameness::Same);
    EXPECT_EQ(source->isAt(path("soft")), Sameness::Same);
    EXPECT_EQ(source->isAt(path("dir/b.txt")), Sameness::Different);
    EXPECT_EQ(source->isAt(path("dir/none.txt")), Sameness::Different);

    EXPECT_EQ(files.sameFileOnDisk(path("dir/a.txt"), path("./dir//a.txt")), Sameness::Same);
    EXPECT_EQ(files.sameFileOnDisk(path("hard"), path("soft")), Sameness::Same);
    EXPECT_EQ(files.sameFileOnDisk(path("dir"), path("dir/")), Sameness::Same);
    EXPECT_EQ(files.sameFileOnDisk(path("dir/a.txt"), path("dir/b.txt")), Sameness::Different);
    EXPECT_EQ(files.sameFileOnDisk(path("dir/none.txt"), path("dir/none.txt")), Sameness::Different);
    // Names are bytes: letter case makes another name.
    EXPECT_EQ(files.nameKey("A.txt"), "A.txt");
    EXPECT_NE(files.nameKey("A.txt"), files.nameKey("a.txt"));
}

TEST_F(Files, WholeFilesAreWrittenAndFoldersMadeAndLookedAt) {
    writeFile("list.txt", "a longer former text");
    files.writeWholeFile(path("list.txt"), "short");
    files.writeWholeFile(path("made.txt"), "made");
    EXPECT_EQ(readFile(path("list.txt")), "short");
    EXPECT_EQ(readFile(path("made.txt")), "made");
    calls.failWrite = ENOSPC;
    EXPECT_THROW(files.writeWholeFile(path("full.txt"), "x"), AppError);

    files.createFolderPath(path("x/y/z/"));
    files.createFolderPath(path("x/y/z")); // already there
    EXPECT_TRUE(files.folderExists(path("x/y/z")));
    EXPECT_TRUE(files.folderExists(path("x/y/z/")));
    EXPECT_FALSE(files.folderExists(path("list.txt")));
    EXPECT_FALSE(files.folderExists(path("none")));
    EXPECT_TRUE(files.fileExists(path("list.txt")));
    EXPECT_FALSE(files.fileExists(path("x")));
    EXPECT_FALSE(files.fileExists(path("none.txt")));
    try {
        files.createFolderPath(path("list.txt/below"));
        ADD_FAILURE() << "made a folder below a file";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 76);
    }
}

} // namespace
