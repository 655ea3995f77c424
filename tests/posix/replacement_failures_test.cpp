// A replace that fails on the way (a full disk, a flush or a rename refused, a file that comes
// meanwhile) leaves the destination as it was and no file of the program's behind.
#include "posix_fixture.h"

#include "posix_file_system.h"

#include <cerrno>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

class FailingReplace : public PosixTest {
protected:
    ScriptedCalls calls;
    PosixFileSystem files{calls};

    // The error number that the replace raised, 0 where it raised none; the replacement is gone after.
    int failureOf(const std::string &destination, const std::string &bytes, bool flushAhead = false) {
        try {
            const auto replacement = files.replacementOf(destination, DestinationSeen::Unknown, nullptr);
            replacement->write(bytes);
            if (flushAhead) std::thread([&] { replacement->flushAhead(); }).join();
            replacement->commit();
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
};

TEST_F(FailingReplace, AFullDiskLeavesTheDestinationAndNoTemporary) {
    writeFile("a.txt", "former");
    calls.failWrite = ENOSPC;
    EXPECT_EQ(failureOf(path("a.txt"), "new"), 61);
    calls.failWrite = EDQUOT;
    EXPECT_EQ(failureOf(path("new.txt"), "new"), 61);
    EXPECT_EQ(readFile(path("a.txt")), "former");
    EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});
}

TEST_F(FailingReplace, AFailedFlushKeepsTheFormerFileWhetherAheadOrAtTheCommit) {
    writeFile("a.txt", "former");
    calls.failFileFsync = EIO;
    EXPECT_EQ(failureOf(path("a.txt"), "new", true), 75);
    EXPECT_EQ(failureOf(path("a.txt"), "new", false), 75);
    // Space that a file system gives out only when it writes the bytes runs out at the flush.
    calls.failFileFsync = ENOSPC;
    EXPECT_EQ(failureOf(path("a.txt"), "new", true), 61);
    EXPECT_EQ(readFile(path("a.txt")), "former");
    EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});

    // A new file is not flushed, so a flush that fails ahead does not stop it.
    EXPECT_EQ(failureOf(path("b.txt"), "new", true), 0);
    EXPECT_EQ(readFile(path("b.txt")), "new");
}

TEST_F(FailingReplace, ARefusedRenameLeavesTheDestinationAndNoTemporary) {
    writeFile("a.txt", "former");
    calls.failRename = EBUSY;
    EXPECT_EQ(failureOf(path("a.txt"), "new"), 70);
    calls.failRename = EIO;
    EXPECT_EQ(failureOf(path("a.txt"), "new"), 75);
    calls.failFreeRename = EACCES;
    EXPECT_EQ(failureOf(path("b.txt"), "new"), 75);
    EXPECT_EQ(readFile(path("a.txt")), "former");
    EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});
}

TEST_F(FailingReplace, AFailedFolderFlushStillPlacesTheDurableText) {
    writeFile("a.txt", "former");
    calls.failFolderFsync = EIO;
    EXPECT_EQ(failureOf(path("a.txt"), "new"), 0);
    EXPECT_EQ(readFile(path("a.txt")), "new");
    EXPECT_EQ(calls.folderFsyncs, 1);
}

TEST_F(FailingReplace, AFileThatComesMeanwhileIsReplacedAsAnExistingOne) {
    // Listed as free, but made by another program before the commit.
    calls.beforeFreeRename = [&] {
        writeFile("late.txt", "came late");
        chmod(path("late.txt").c_str(), 0604);
    };
    {
        const auto replacement = files.replacementOf(path("late.txt"), DestinationSeen::Free, nullptr);
        replacement->write("new");
        replacement->commit();
    }
    EXPECT_EQ(readFile(path("late.txt")), "new");
    EXPECT_EQ(statOf(path("late.txt")).st_mode & 07777, 0604u);
    EXPECT_EQ(calls.fileFsyncs, 1); // it had a text to lose
    EXPECT_EQ(names(), std::vector<std::string>{"late.txt"});

    // The same where the file system cannot refuse to replace: the name is looked at first.
    calls.beforeFreeRename = nullptr;
    calls.failFreeRename = EINVAL;
    EXPECT_EQ(failureOf(path("late.txt"), "newer"), 0);
    EXPECT_EQ(failureOf(path("fresh.txt"), "fresh"), 0);
    EXPECT_EQ(readFile(path("late.txt")), "newer");
    EXPECT_EQ(readFile(path("fresh.txt")), "fresh");
    EXPECT_EQ(names(), (std::vector<std::string>{"fresh.txt", "late.txt"}));
}

// A real full disk: a small tmpfs mounted over the test's folder in a mount namespace of the child's
// own, so nothing of it outlives the child.
TEST_F(FailingReplace, ARealFullDiskLeavesTheDestinationAndNoTemporary) {
    const std::string answer = inChild([&]() -> std::string {
        if (const std::string refused = mountSmallDisk(folder(), "64k"); !refused.empty())
            return "skip: " + refused;
        writeFile("a.txt", "former");
        // Fill what is left.
        const int filler = open(path("filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'f');
        while (::write(filler, block.data(), block.size()) > 0) {
        }
        close(filler);
        SystemPosixCalls system;
        PosixFileSystem real(system);
        std::string result;
        try {
            const auto replacement = real.replacementOf(path("a.txt"), DestinationSeen::Unknown, nullptr);
            replacement->write(std::string(64 * 1024, 'n'));
            replacement->commit();
            result = "replaced";
        } catch (const AppError &error) {
            result = "error " + std::to_string(error.number);
        }
        result += " | " + readFile(path("a.txt")) + " |";
        for (const std::string &name : names()) result += " " + name;
        return result;
    });
    if (answer.rfind("skip: ", 0) == 0) GTEST_SKIP() << answer.substr(6);
    EXPECT_EQ(answer, "error 61 | former | a.txt filler");
}

} // namespace
