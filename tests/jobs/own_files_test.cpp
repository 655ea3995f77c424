// The program's own names beside a user's files as Windows measures them, and what the next run makes
// of the ones a program ended in the middle of a replace left behind.
#include "win_fixture.h"

#include "own_files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The names this program makes on Windows are measured in UTF-16 units (own_file_names_test.cpp has
// the rules).
TEST(OwnFileNames, AreMeasuredAsWindowsFileSystemsMeasureThem) {
    std::string accented; // 250 bytes, 125 units
    for (int i = 0; i < 125; ++i) accented += "\xC3\xA9";
    EXPECT_EQ(ownTemporaryName("~qm5-1", accented), "~qm5-1." + accented + ".tmp");
    EXPECT_EQ(ownTemporaryName("~qm5-1", std::string(250, 'n')), "~qm5-1.tmp");
    EXPECT_EQ(ownFileStem().rfind("~qm" + std::to_string(GetCurrentProcessId()) + "-", 0), 0u);
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
