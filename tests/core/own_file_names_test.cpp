// The program's own names beside a user's files: what they say, how they shorten where a file system
// would not take them whole, and what the leftovers of processes that no longer run ask for.
#include "own_file_names.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

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
        {"~qm", false, 0, "", false},
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
    EXPECT_EQ(ownTemporaryName("~qm5-1", "a.txt", NameMeasure::Bytes), "~qm5-1.a.txt.tmp");
    EXPECT_EQ(ownBackupName("~qm5-1", "a.txt", 0, NameMeasure::Bytes), "~qm5-1.a.txt.bak");
    EXPECT_EQ(ownBackupName("~qm5-1", "a.txt", 2, NameMeasure::Utf16Units), "~qm5-1-2.a.txt.bak");
}

TEST(OwnFileNames, StemsCarryTheProcessIdAndNeverRepeat) {
    const std::string first = ownFileStem(4321);
    const std::string second = ownFileStem(4321);
    EXPECT_EQ(first.rfind("~qm4321-", 0), 0u);
    EXPECT_NE(first, second);
    const std::optional<OwnFileName> read = readOwnFileName(ownTemporaryName(first, "a", NameMeasure::Bytes));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->processId, 4321u);
}

// "~qm5-1." and ".tmp" take 11 of the 255 a name may have.
TEST(OwnFileNames, DropTheDestinationsNameWhereTheFileSystemWouldRefuseTheWhole) {
    const std::string longest(244, 'n');
    EXPECT_EQ(ownTemporaryName("~qm5-1", longest, NameMeasure::Bytes), "~qm5-1." + longest + ".tmp");
    EXPECT_EQ(ownTemporaryName("~qm5-1", longest + "n", NameMeasure::Bytes), "~qm5-1.tmp");
    EXPECT_EQ(ownTemporaryName("~qm5-1", longest + "n", NameMeasure::Utf16Units), "~qm5-1.tmp");
    EXPECT_EQ(ownBackupName("~qm5-1", longest, 1, NameMeasure::Bytes), "~qm5-1-1.bak"); // "-1" is two more

    // 125 letters of two bytes each: 250 bytes, but 125 UTF-16 units.
    std::string accented;
    for (int i = 0; i < 125; ++i) accented += "\xC3\xA9";
    EXPECT_EQ(ownTemporaryName("~qm5-1", accented, NameMeasure::Bytes), "~qm5-1.tmp");
    EXPECT_EQ(ownTemporaryName("~qm5-1", accented, NameMeasure::Utf16Units), "~qm5-1." + accented + ".tmp");

    // A character past U+FFFF is two UTF-16 units: 122 of them fill a name exactly, 123 are too many.
    std::string faces;
    for (int i = 0; i < 122; ++i) faces += "\xF0\x9F\x98\x80";
    EXPECT_TRUE(nameFits("~qm5-1." + faces + ".tmp", NameMeasure::Utf16Units));
    EXPECT_FALSE(nameFits("~qm5-1." + faces + "\xF0\x9F\x98\x80.tmp", NameMeasure::Utf16Units));
    // A byte that starts no sequence counts one unit, as the U+FFFD that stands for it.
    EXPECT_TRUE(nameFits(std::string(255, '\xFF'), NameMeasure::Utf16Units));
    EXPECT_FALSE(nameFits(std::string(256, '\xFF'), NameMeasure::Utf16Units));
}

// A folder whose names' presence and running processes are set by the test; it records what it is
// asked to do.
class ScriptedLeftovers : public LeftoverFiles {
public:
    std::set<unsigned long> running;
    std::set<std::string> taken, unknown;
    std::vector<std::string> done;

    bool processIsRunning(unsigned long processId) override { return running.count(processId) != 0; }
    NamePresence presenceOf(const std::string &name) override {
        if (unknown.count(name)) return NamePresence::Unknown;
        return taken.count(name) ? NamePresence::Taken : NamePresence::Free;
    }
    void restore(const std::string &backupName, const std::string &destinationName) override {
        done.push_back("restore " + backupName + " as " + destinationName);
    }
    void remove(const std::string &name) override { done.push_back("remove " + name); }
};

TEST(OwnFileNames, LeftoversOfEndedProcessesArePutRightBackupsFirst) {
    ScriptedLeftovers folder;
    folder.running = {200};
    folder.taken = {"b.txt"};
    folder.unknown = {"c.txt"};
    putRightLeftovers({"~qm100-1.a.txt.tmp", "~qm100-2.a.txt.bak", "~qm100-3.b.txt.bak", "~qm100-4.c.txt.bak",
                       "~qm100-5-1.bak", "~qm200-1.d.txt.tmp", "~qm200-2.e.txt.bak", "~qm300-1.f.txt.tmp",
                       "~qm300-2.g.txt.bak", "notes.txt", "~qm100-6.h.txt.tmp"},
                      300, folder);
    EXPECT_EQ(folder.done,
              (std::vector<std::string>{"restore ~qm100-2.a.txt.bak as a.txt", "remove ~qm100-3.b.txt.bak",
                                        "remove ~qm100-1.a.txt.tmp", "remove ~qm100-6.h.txt.tmp"}));
}

} // namespace
