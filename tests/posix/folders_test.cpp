// A folder's names, its ordinary files that match a pattern, whether it takes new files, and the
// leftovers of processes that no longer run.
#include "posix_fixture.h"

#include "posix_file_system.h"

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Folders : public PosixTest {
protected:
    ScriptedCalls calls;
    PosixFileSystem files{calls};

    std::vector<std::string> ordinaryFiles(const std::string &pattern) {
        std::vector<std::string> found;
        files.forEachOrdinaryFile(folder(), pattern, [&](const std::string &name) { found.push_back(name); });
        std::sort(found.begin(), found.end());
        return found;
    }
};

TEST_F(Folders, AListingHoldsEveryNameByteForByte) {
    writeFile("a.txt", "");
    writeFile(".hidden", "");
    mkdir(path("sub").c_str(), 0755);
    const auto listing = files.listing(folder());
    EXPECT_TRUE(listing->has("a.txt"));
    EXPECT_TRUE(listing->has(".hidden"));
    EXPECT_TRUE(listing->has("sub"));
    EXPECT_FALSE(listing->has("A.TXT"));
    EXPECT_FALSE(listing->has("b.txt"));
    EXPECT_FALSE(files.listing(path("none"))->has("a.txt"));
}

TEST_F(Folders, OrdinaryFilesAreRegularFilesAndLinksToThemThatMatch) {
    for (const char *name :
         {"a.txt", "B.TXT", ".hidden.txt", "notes.txt.bak", "x[1].txt", "\xC3\xA9.txt", "ab.txt"})
        writeFile(name, "");
    mkdir(path("sub.txt").c_str(), 0755);
    ASSERT_EQ(symlink("a.txt", path("link.txt").c_str()), 0);
    ASSERT_EQ(symlink("sub.txt", path("folderlink.txt").c_str()), 0);
    ASSERT_EQ(symlink("nothing", path("dangling.txt").c_str()), 0);

    EXPECT_EQ(ordinaryFiles("*.txt"),
              (std::vector<std::string>{"a.txt", "ab.txt", "link.txt", "x[1].txt", "\xC3\xA9.txt"}));
    // '?' is one character, two bytes for "é"; brackets are themselves.
    EXPECT_EQ(ordinaryFiles("?.txt"), (std::vector<std::string>{"a.txt", "\xC3\xA9.txt"}));
    EXPECT_EQ(ordinaryFiles("x[1].txt"), std::vector<std::string>{"x[1].txt"});
    EXPECT_EQ(ordinaryFiles("*.TXT"), std::vector<std::string>{"B.TXT"});
    EXPECT_EQ(ordinaryFiles("*"), (std::vector<std::string>{"B.TXT", "a.txt", "ab.txt", "link.txt",
                                                            "notes.txt.bak", "x[1].txt", "\xC3\xA9.txt"}));

    std::vector<std::string> none;
    files.forEachOrdinaryFile(path("missing"), "*", [&](const std::string &name) { none.push_back(name); });
    EXPECT_TRUE(none.empty());

    // "" is the current folder (a child's, so that the test's own stays where it is).
    const std::string inCurrent = inChild([&] {
        if (chdir(folder().c_str()) != 0) return std::string("ended: no chdir");
        std::string found;
        files.forEachOrdinaryFile("", "?.txt", [&](const std::string &name) { found += name + " "; });
        return found;
    });
    EXPECT_TRUE(inCurrent == "a.txt \xC3\xA9.txt " || inCurrent == "\xC3\xA9.txt a.txt ") << inCurrent;
}

TEST_F(Folders, FilesMadeWhileTheNamesAreHandedOnAreNotHandedOn) {
    for (int i = 0; i < 50; ++i) writeFile(std::to_string(i).append(".txt"), "");
    int handed = 0;
    files.forEachOrdinaryFile(folder(), "*.txt", [&](const std::string &name) {
        ++handed;
        writeFile("new-" + name, "");
    });
    EXPECT_EQ(handed, 50);
}

TEST_F(Folders, AFolderRefusesNewFilesOnlyForWantOfAccess) {
    EXPECT_FALSE(files.refusesNewFiles(folder()));
    EXPECT_TRUE(names().empty()); // the probe went
    EXPECT_FALSE(files.refusesNewFiles(path("missing")));

    mkdir(path("shut").c_str(), 0555);
    if (!runningAsRoot()) {
        EXPECT_TRUE(files.refusesNewFiles(path("shut")));
        return;
    }
    ASSERT_EQ(chown(path("shut").c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(folder().c_str(), 0755), 0);
    const std::string answer = inChild([&] {
        if (!becomeNobody()) return std::string("ended: cannot become nobody");
        return std::string(files.refusesNewFiles(path("shut")) ? "refused" : "taken") + " " +
               (files.refusesNewFiles(folder() + "/shut/..") ? "refused" : "taken");
    });
    EXPECT_EQ(answer, "refused refused"); // its own and root's folder
    chmod(path("shut").c_str(), 0755);
    EXPECT_EQ(inChild([&] {
                  return std::string(becomeNobody() && !files.refusesNewFiles(path("shut")) ? "taken"
                                                                                            : "refused");
              }),
              "taken");
    EXPECT_TRUE(namesIn(path("shut")).empty());
}

// A child that has ended and been waited for: its id runs no process now.
pid_t endedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

TEST_F(Folders, LeftoversOfEndedProcessesArePutRightAndOthersStay) {
    const std::string gone = "~qm" + std::to_string(endedProcess()) + "-";
    int keepAlive[2];
    ASSERT_EQ(pipe(keepAlive), 0);
    const pid_t live = fork();
    if (live == 0) {
        close(keepAlive[1]);
        char byte;
        while (read(keepAlive[0], &byte, 1) != 0) {
        }
        _exit(0);
    }
    close(keepAlive[0]);
    const std::string running = "~qm" + std::to_string(live) + "-";
    const std::string self = "~qm" + std::to_string(getpid()) + "-";

    writeFile(gone + "1.a.txt.tmp", "a part");   // killed while writing
    writeFile(gone + "2.b.txt.bak", "b former"); // a backup whose destination is missing
    writeFile("c.txt", "c new");
    writeFile(gone + "3-1.c.txt.bak", "c former");     // a backup whose destination is there
    writeFile(gone + "4.bak", "whose?");               // says no destination: stays
    writeFile("~QM" + gone.substr(3) + "5.D.TMP", ""); // not how this program spells its names
    mkdir(path(gone + "6.e.tmp").c_str(), 0755);       // a folder is no file of the program's
    writeFile("~qm4294967292-7.f.txt.tmp", "");        // an id that no POSIX process has
    writeFile(running + "1.g.txt.tmp", "g part");
    writeFile(self + "1.h.txt.tmp", "h part");

    files.recoverLeftovers(folder());
    close(keepAlive[1]);
    waitpid(live, nullptr, 0);

    EXPECT_EQ(readFile(path("b.txt")), "b former");
    EXPECT_EQ(readFile(path("c.txt")), "c new");
    std::vector<std::string> stayed{"b.txt",
                                    "c.txt",
                                    gone + "4.bak",
                                    "~QM" + gone.substr(3) + "5.D.TMP",
                                    gone + "6.e.tmp",
                                    running + "1.g.txt.tmp",
                                    self + "1.h.txt.tmp"};
    std::sort(stayed.begin(), stayed.end());
    EXPECT_EQ(names(), stayed);
}

} // namespace
