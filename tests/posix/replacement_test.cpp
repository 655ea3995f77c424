// Destinations replaced whole or not at all: what is on disk after a commit, after none, and after
// each call that can fail on the way.
#include "posix_fixture.h"

#include "own_file_names.h"
#include "posix_file_system.h"
#include "posix_paths.h"
#include "posix_replacement.h"

#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

class Replacing : public PosixTest {
protected:
    ScriptedCalls calls;
    PosixFileSystem files{calls};

    void replace(const std::string &destination, const std::string &bytes, SourceFile *source = nullptr,
                 DestinationSeen seen = DestinationSeen::Unknown) {
        const auto replacement = files.replacementOf(destination, seen, nullptr);
        replacement->write(bytes);
        replacement->commit(source);
    }

    // The error number that the replace raised, 0 where it raised none.
    int failureOf(const std::string &destination, const std::string &bytes, SourceFile *source = nullptr) {
        try {
            replace(destination, bytes, source);
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
};

TEST_F(Replacing, ANewFileTakesTheBytesAndNoTemporaryStays) {
    replace(path("new.txt"), "a\r\nb");
    EXPECT_EQ(readFile(path("new.txt")), "a\r\nb");
    EXPECT_EQ(names(), std::vector<std::string>{"new.txt"});
    // A new file is not flushed: the source is still there to make it again.
    EXPECT_EQ(calls.fileFsyncs, 0);

    replace(path("empty.txt"), "", nullptr, DestinationSeen::Free);
    EXPECT_EQ(readFile(path("empty.txt")), "");
    EXPECT_EQ(names(), (std::vector<std::string>{"empty.txt", "new.txt"}));
}

TEST_F(Replacing, AnExistingFileIsReplacedKeepingItsModeAndFlushedOnce) {
    writeFile("old.txt", "old text that is longer");
    chmod(path("old.txt").c_str(), 0640);
    const ino_t formerInode = statOf(path("old.txt")).st_ino;

    const auto replacement = files.replacementOf(path("old.txt"), DestinationSeen::Unknown, nullptr);
    replacement->write("new ");
    replacement->write("text");
    // Until the commit, the former text is all there is under the name.
    EXPECT_EQ(readFile(path("old.txt")), "old text that is longer");
    std::thread([&] { replacement->flushAhead(); }).join();
    replacement->commit();

    EXPECT_EQ(readFile(path("old.txt")), "new text");
    EXPECT_EQ(statOf(path("old.txt")).st_mode & 07777, 0640u);
    EXPECT_NE(statOf(path("old.txt")).st_ino, formerInode); // a new file, renamed onto the name
    EXPECT_EQ(names(), std::vector<std::string>{"old.txt"});
    EXPECT_EQ(calls.fileFsyncs, 1); // ahead, and not again at the commit
    EXPECT_EQ(calls.folderFsyncs, 1);
}

TEST_F(Replacing, AReplacementOfAnotherUsersFileKeepsItsOwnerAndGroup) {
    if (!runningAsRoot()) GTEST_SKIP() << "only root may give a file to another user";
    writeFile("theirs.txt", "old");
    ASSERT_EQ(chown(path("theirs.txt").c_str(), 65534, 65534), 0);
    chmod(path("theirs.txt").c_str(), 0604);
    replace(path("theirs.txt"), "new");
    const struct stat after = statOf(path("theirs.txt"));
    EXPECT_EQ(after.st_uid, 65534u);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(readFile(path("theirs.txt")), "new");
}

TEST_F(Replacing, LeftUncommittedTheDestinationStaysAndTheTemporaryGoes) {
    writeFile("kept.txt", "kept");
    {
        const auto replacement = files.replacementOf(path("kept.txt"), DestinationSeen::Unknown, nullptr);
        replacement->write("never placed");
        EXPECT_EQ(names().size(), 2u); // the temporary file, under the program's own name
    }
    {
        const auto replacement = files.replacementOf(path("missing.txt"), DestinationSeen::Free, nullptr);
        replacement->write("never placed");
    }
    EXPECT_EQ(readFile(path("kept.txt")), "kept");
    EXPECT_EQ(names(), std::vector<std::string>{"kept.txt"});
}

TEST_F(Replacing, TheTemporaryCarriesTheProgramsNameForTheNextRunToFind) {
    const PosixReplacement replacement(path("report.txt"), calls);
    const std::string expectedStart = folder() + "/~qm" + std::to_string(getpid()) + "-";
    EXPECT_EQ(replacement.temporaryPath().rfind(expectedStart, 0), 0u) << replacement.temporaryPath();
    EXPECT_TRUE(replacement.temporaryPath().ends_with(".report.txt.tmp")) << replacement.temporaryPath();

    // A name too long to carry the destination's in 255 bytes drops it.
    const std::string longName(250, 'n');
    const PosixReplacement longer(path(longName), calls);
    const std::optional<OwnFileName> read = readOwnFileName(nameOf(longer.temporaryPath()));
    ASSERT_TRUE(read.has_value()) << longer.temporaryPath();
    EXPECT_EQ(read->processId, static_cast<unsigned long>(getpid()));
    EXPECT_EQ(read->destinationName, "");
}

TEST_F(Replacing, TheOpenSourceIsRefusedHoweverItsPathIsSpelled) {
    mkdir(path("dir").c_str(), 0755);
    writeFile("dir/a.txt", "source");
    ASSERT_EQ(link(path("dir/a.txt").c_str(), path("dir/hard.txt").c_str()), 0);
    ASSERT_EQ(symlink("a.txt", path("dir/soft.txt").c_str()), 0);
    const auto source = files.openForReading(path("dir/a.txt"), ShareWrite::Denied);

    for (const std::string &spelling : {path("dir/a.txt"), path("dir/../dir/a.txt"), path("dir/./a.txt"),
                                        path("dir/hard.txt"), path("dir/soft.txt")}) {
        SCOPED_TRACE(spelling);
        EXPECT_EQ(failureOf(spelling, "new", source.get()), 75);
        EXPECT_EQ(readFile(path("dir/a.txt")), "source");
    }
    EXPECT_EQ(namesIn(path("dir")), (std::vector<std::string>{"a.txt", "hard.txt", "soft.txt"}));

    // Another file is no source; its other hard link keeps the former text.
    writeFile("dir/b.txt", "other");
    ASSERT_EQ(link(path("dir/b.txt").c_str(), path("b-link.txt").c_str()), 0);
    EXPECT_EQ(failureOf(path("dir/b.txt"), "new", source.get()), 0);
    EXPECT_EQ(readFile(path("dir/b.txt")), "new");
    EXPECT_EQ(readFile(path("b-link.txt")), "other");
}

TEST_F(Replacing, ASymbolicLinkIsConvertedWhereItLeadsAndStays) {
    mkdir(path("texts").c_str(), 0755);
    mkdir(path("links").c_str(), 0755);
    writeFile("texts/t.txt", "old");
    chmod(path("texts/t.txt").c_str(), 0600);
    ASSERT_EQ(symlink("../texts/t.txt", path("links/relative.txt").c_str()), 0);
    ASSERT_EQ(symlink("relative.txt", path("links/chain.txt").c_str()), 0);

    replace(path("links/chain.txt"), "new");
    EXPECT_EQ(readFile(path("texts/t.txt")), "new");
    EXPECT_EQ(statOf(path("texts/t.txt")).st_mode & 07777, 0600u);
    EXPECT_TRUE(S_ISLNK(statOf(path("links/chain.txt")).st_mode));
    EXPECT_TRUE(S_ISLNK(statOf(path("links/relative.txt")).st_mode));
    EXPECT_EQ(std::filesystem::read_symlink(path("links/relative.txt")), "../texts/t.txt");
    EXPECT_EQ(namesIn(path("texts")), std::vector<std::string>{"t.txt"});
    EXPECT_EQ(namesIn(path("links")), (std::vector<std::string>{"chain.txt", "relative.txt"}));

    // A link to nothing: the file is made where it leads, as writing through the link would.
    ASSERT_EQ(symlink(path("texts/made.txt").c_str(), path("links/ahead.txt").c_str()), 0);
    replace(path("links/ahead.txt"), "made");
    EXPECT_EQ(readFile(path("texts/made.txt")), "made");
    EXPECT_TRUE(S_ISLNK(statOf(path("links/ahead.txt")).st_mode));

    // Links that lead round in a circle name no file.
    ASSERT_EQ(symlink("round2", path("round1").c_str()), 0);
    ASSERT_EQ(symlink("round1", path("round2").c_str()), 0);
    EXPECT_EQ(failureOf(path("round1"), "x"), 52);
}

TEST_F(Replacing, WhatIsNoRegularFileOrMayNotBeWrittenIsRefusedAndKept) {
    mkdir(path("folder.txt").c_str(), 0755);
    EXPECT_EQ(failureOf(path("folder.txt"), "x"), 75);
    ASSERT_EQ(mkfifo(path("pipe.txt").c_str(), 0644), 0);
    EXPECT_EQ(failureOf(path("pipe.txt"), "x"), 75);

    // Marked read-only for everyone: refused even where root could write it.
    writeFile("readonly.txt", "kept");
    chmod(path("readonly.txt").c_str(), 0444);
    EXPECT_EQ(failureOf(path("readonly.txt"), "x"), 75);
    EXPECT_EQ(readFile(path("readonly.txt")), "kept");
    EXPECT_EQ(statOf(path("readonly.txt")).st_mode & 07777, 0444u);
    EXPECT_EQ(names(), (std::vector<std::string>{"folder.txt", "pipe.txt", "readonly.txt"}));
}

// Another user's file that this user may not write, in a folder this user may write: rename(2) would
// replace it, the program refuses.
TEST_F(Replacing, AFileThatThisUserMayNotWriteIsRefusedInAFolderItMayWrite) {
    if (!runningAsRoot()) GTEST_SKIP() << "making another user's file needs root";
    writeFile("roots.txt", "root's text");
    chmod(path("roots.txt").c_str(), 0644);
    ASSERT_EQ(chown(folder().c_str(), 65534, 65534), 0);
    const std::string answer = inChild([&] {
        if (!becomeNobody()) return std::string("ended: cannot become nobody");
        replace(path("roots.txt"), "new");
        return std::string("replaced");
    });
    EXPECT_EQ(answer, "error 75");
    EXPECT_EQ(readFile(path("roots.txt")), "root's text");
    EXPECT_EQ(names(), std::vector<std::string>{"roots.txt"});
}

TEST_F(Replacing, AFolderThatRefusesNewFilesIsReportedAndKeptAsItWas) {
    writeFile("a.txt", "kept");
    const auto tryReplace = [&] {
        replace(path("a.txt"), "new");
        return std::string("replaced");
    };
    chmod(folder().c_str(), 0555);
    std::string answer;
    if (runningAsRoot()) {
        ASSERT_EQ(chown(folder().c_str(), 65534, 65534), 0);
        answer = inChild([&] { return becomeNobody() ? tryReplace() : "ended: cannot become nobody"; });
    } else {
        answer = inChild(tryReplace);
    }
    EXPECT_EQ(answer, "error 75");
    EXPECT_EQ(readFile(path("a.txt")), "kept");
    EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});

    // A folder that is not there: 76.
    EXPECT_EQ(failureOf(path("none/a.txt"), "x"), 76);
}

} // namespace
