// The program's own names beside a user's files, and what the next run makes of the ones a program
// ended in the middle of a replace left behind.
#include "win_fixture.h"

#include "own_files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(OwnFileNames, SayWhoseTheyAreAndAreToldFromOtherNames) {
    struct Case {
        const char *name;
        bool own;
        unsigned long processId;
        const char *destination;
        bool backup;
    };
    const Case cases[] = {
        {"~qm1234-7.report.txt.tmp", true, 1234, "report.txt", false},
        {"~qm1234-7.report.txt.bak", true, 1234, "report.txt", true},
        {"~qm1234-7-2.a.b c.bak", true, 1234, "a.b c", true},
        {"~QM9-1.X.TXT.BAK", true, 9, "X.TXT", true},
        {"~qm12-3.tmp", true, 12, "", false},
        {"~qm12-3-1.bak", true, 12, "", true},
        {"~qm12-input-3.tmp", false, 0, "", false}, // standard input's spill file of an older version
        {"~qm12-3-1.x.tmp", false, 0, "", false},   // numbered names are backups only
        {"~qm12-3.report.txt", false, 0, "", false},
        {"~qm-3.a.tmp", false, 0, "", false},
        {"report.txt", false, 0, "", false},
        {"~qm12-3..tmp", false, 0, "", false},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        const std::optional<OwnFileName> read = readOwnFileName(each.name);
        ASSERT_EQ(read.has_value(), each.own);
        if (!read) continue;
        EXPECT_EQ(read->processId, each.processId);
        EXPECT_EQ(read->destinationName, each.destination);
        EXPECT_EQ(read->backup, each.backup);
    }
    EXPECT_EQ(ownTemporaryName("~qm5-1", "a.txt"), "~qm5-1.a.txt.tmp");
    EXPECT_EQ(ownBackupName("~qm5-1", "a.txt", 2), "~qm5-1-2.a.txt.bak");
    // Too long with the destination's name for a file system's 255 units: the name goes.
    EXPECT_EQ(ownTemporaryName("~qm5-1", std::string(250, 'n')), "~qm5-1.tmp");
    EXPECT_NE(ownFileStem(), ownFileStem());
}

class Leftovers : public WinTest {};

TEST_F(Leftovers, OfAProcessThatIsGoneAreTakenBackOrRemovedAndOthersStay) {
    const std::string gone = "~qm4294967292-"; // no process has this id
    const std::string self = "~qm" + std::to_string(GetCurrentProcessId()) + "-";
    // Killed between the two renames of a replace: the name is missing, the former text in the backup.
    writeFile(gone + "1.a.txt.bak", "a former");
    writeFile(gone + "1.a.txt.tmp", "a new");
    // Killed after the replace, before the backup went.
    writeFile("b.txt", "b new");
    writeFile(gone + "2-1.b.txt.bak", "b former");
    // Killed while a new destination was written.
    writeFile(gone + "3.c.txt.tmp", "c part");
    // A backup that does not say whose it is, and the files of a program still running (this one).
    writeFile(gone + "4.bak", "unknown");
    writeFile(self + "5.d.txt.bak", "d former");
    writeFile(self + "5.d.txt.tmp", "d new");

    recoverLeftovers(temp(), systemMoves);
    EXPECT_EQ(readFile(temp() + "a.txt"), "a former");
    EXPECT_EQ(readFile(temp() + "b.txt"), "b new");
    EXPECT_EQ(GetFileAttributesA((temp() + "c.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    std::vector<std::string> left = namesMatching(temp() + "~qm*");
    std::sort(left.begin(), left.end());
    std::vector<std::string> stayed{gone + "4.bak", self + "5.d.txt.bak", self + "5.d.txt.tmp"};
    std::sort(stayed.begin(), stayed.end());
    EXPECT_EQ(left, stayed);
}

} // namespace
