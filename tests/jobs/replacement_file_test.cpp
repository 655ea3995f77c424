// The file layer under the conversion jobs: files told apart by identity rather than by spelling,
// and destinations replaced whole or not at all.
#include "win_fixture.h"

#include "app_error.h"
#include "file_jobs.h"
#include "handles.h"
#include "text_files.h"

#include <algorithm>
#include <vector>

namespace {

std::string shortName(const std::string &path) {
    char buffer[MAX_PATH] = {};
    const DWORD size = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return std::string(buffer, size);
}

std::string upperCase(std::string text) {
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string forwardSlashes(std::string text) {
    for (char &c : text)
        if (c == '\\') c = '/';
    return text;
}

class FileIdentity : public WinTest {};

TEST_F(FileIdentity, EverySpellingOfAFileIsTheSameFile) {
    CreateDirectoryA((temp() + "Long Folder Name").c_str(), nullptr);
    const std::string source = writeFile("Long Folder Name\\Source File.text", "a\tb\r\n");
    const std::string folder = temp() + "Long Folder Name";
    const std::string shortFile = shortName(source);
    ASSERT_NE(shortFile, "");
    ASSERT_NE(upperCase(shortFile), upperCase(source)); // the volume gives long names a short one
    for (const std::string &spelling :
         {shortFile, shortName(folder) + "\\Source File.text", source + ".", source + ". .", source + " ",
          temp() + "Long Folder Name\\\\Source File.text", upperCase(source), forwardSlashes(source),
          temp() + "Long Folder Name\\.\\Source File.text",
          temp() + "Long Folder Name\\..\\Long Folder Name\\Source File.text"}) {
        SCOPED_TRACE(spelling);
        EXPECT_TRUE(sameFileOnDisk(source, spelling));
    }
}

TEST_F(FileIdentity, OtherFilesMissingFilesAndFoldersAreTold) {
    const std::string first = writeFile("first.txt", "same bytes");
    const std::string second = writeFile("second.txt", "same bytes");
    EXPECT_FALSE(sameFileOnDisk(first, second));
    EXPECT_FALSE(sameFileOnDisk(first, temp() + "missing.txt"));
    EXPECT_FALSE(sameFileOnDisk(temp() + "missing.txt", temp() + "missing.txt"));
    EXPECT_TRUE(sameFileOnDisk(temp(), temp() + "."));
    EXPECT_TRUE(sameFileOnDisk(temp(), upperCase(temp()) + "\\"));
    EXPECT_FALSE(sameFileOnDisk(temp(), temp() + ".."));
}

TEST_F(FileIdentity, ConvertingAFileIntoItselfIsRefusedAndTheSourceStays) {
    const std::string source = writeFile("Source File.txt", "a\tb\r\n");
    for (const std::string &spelling : {shortName(source), source + ".", upperCase(source)}) {
        SCOPED_TRACE(spelling);
        try {
            convertFileFixedSpaces(source, spelling, [] { return int16_t{2}; });
            ADD_FAILURE() << "converted";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 75);
        }
        try {
            convertFileTabStops(source, spelling, 4);
            ADD_FAILURE() << "converted";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 75);
        }
        EXPECT_EQ(readFile(source), "a\tb\r\n");
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((temp() + "~qm*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// Windows' own calls, counted, with the first few replaces or moves failing as told.
class CountingMoves : public FileMoves {
public:
    int flushes = 0, replaces = 0, moves = 0, freeMoves = 0, pauses = 0;
    DWORD pausedFor = 0;
    int failingMoves = 0;
    DWORD moveFailure = ERROR_SHARING_VIOLATION;
    bool flushFails = false;

    bool flush(HANDLE file) override {
        ++flushes;
        if (flushFails) {
            SetLastError(ERROR_INVALID_FUNCTION);
            return false;
        }
        return FileMoves::flush(file);
    }
    bool replace(const std::string &destination, const std::string &replacement) override {
        ++replaces;
        return !failsNow() && FileMoves::replace(destination, replacement);
    }
    bool move(const std::string &from, const std::string &to) override {
        ++moves;
        return !failsNow() && FileMoves::move(from, to);
    }
    bool moveToFreeName(const std::string &from, const std::string &to) override {
        ++freeMoves;
        return !failsNow() && FileMoves::moveToFreeName(from, to);
    }
    void pause(DWORD milliseconds) override {
        ++pauses;
        pausedFor += milliseconds;
    }

private:
    bool failsNow() {
        if (failingMoves == 0) return false;
        --failingMoves;
        SetLastError(moveFailure);
        return true;
    }
};

int temporaryFilesIn(const std::string &folder) {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "~qm*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

class Replacement : public WinTest {
protected:
    // Writes the bytes through a replacement of the destination and commits it; the error number,
    // 0 when it was committed.
    int32_t replaceWith(const std::string &destination, const std::string &bytes) {
        try {
            ReplacementFile file(destination);
            file.write(bytes);
            file.commit();
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
    CountingMoves calls;
};

TEST_F(Replacement, AnExistingDestinationIsFlushedBeforeItIsReplaced) {
    const std::string destination = writeFile("out.txt", "older and longer bytes");
    FileMovesOverride counted(calls);
    EXPECT_EQ(replaceWith(destination, "new"), 0);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(calls.flushes, 1);
    EXPECT_EQ(calls.replaces, 1);
    EXPECT_EQ(calls.moves, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, ANewDestinationIsMovedIntoPlaceWithoutAFlush) {
    FileMovesOverride counted(calls);
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new"), 0);
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.flushes, 0);
    EXPECT_EQ(calls.replaces, 0);
    EXPECT_EQ(calls.moves, 1);
}

TEST_F(Replacement, ADestinationSeenFreeIsMovedToItsNameByAMoveThatReplacesNothing) {
    FileMovesOverride counted(calls);
    ReplacementFile file(temp() + "new.txt", DestinationSeen::Free);
    file.write("new");
    file.commit();
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.freeMoves, 1);
    EXPECT_EQ(calls.flushes + calls.replaces + calls.moves, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AFileThatTookAFreeNameMeanwhileIsReplacedAfterAFlush) {
    FileMovesOverride counted(calls);
    {
        ReplacementFile file(temp() + "out.txt", DestinationSeen::Free);
        file.write("new");
        writeFile("out.txt", "another program's bytes");
        file.commit();
    }
    EXPECT_EQ(readFile(temp() + "out.txt"), "new");
    EXPECT_EQ(calls.freeMoves, 1);
    EXPECT_EQ(calls.flushes, 1);
    EXPECT_EQ(calls.replaces, 1);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);

    // ... and a read-only one is left as it is.
    calls = CountingMoves{};
    {
        ReplacementFile file(temp() + "kept.txt", DestinationSeen::Free);
        file.write("new");
        writeFile("kept.txt", "kept");
        SetFileAttributesA((temp() + "kept.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        try {
            file.commit();
            ADD_FAILURE() << "replaced";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 75);
        }
    }
    SetFileAttributesA((temp() + "kept.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(temp() + "kept.txt"), "kept");
    EXPECT_EQ(calls.replaces + calls.flushes, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AMoveToAFreeNameThatIsBrieflyBlockedIsTriedAgain) {
    calls.failingMoves = 2;
    FileMovesOverride counted(calls);
    ReplacementFile file(temp() + "new.txt", DestinationSeen::Free);
    file.write("new");
    file.commit();
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.freeMoves, 3);
    EXPECT_EQ(calls.pauses, 2);
}

TEST_F(Replacement, AnExistingDestinationThatIsTheOpenSourceIsRefusedHoweverItIsReached) {
    CreateDirectoryA((temp() + "other").c_str(), nullptr);
    const std::string source = writeFile("Source File.txt", "a\tb\r\n");
    const std::string link = temp() + "other\\linked.txt";
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), source.c_str(), nullptr));
    const FileHandle open = openForReading(source, ShareWrite::Allowed);
    for (const auto &[spelling, seen] :
         {std::pair{shortName(source), DestinationSeen::Unknown},
          std::pair{upperCase(source), DestinationSeen::Free}, std::pair{link, DestinationSeen::Unknown},
          std::pair{link, DestinationSeen::Free}}) {
        SCOPED_TRACE(spelling);
        try {
            ReplacementFile file(spelling, seen);
            file.write("converted");
            file.commit(&open);
            ADD_FAILURE() << "replaced";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 75);
        }
        EXPECT_EQ(readFile(source), "a\tb\r\n");
        EXPECT_EQ(readFile(link), "a\tb\r\n");
    }
    EXPECT_EQ(temporaryFilesIn(temp()) + temporaryFilesIn(temp() + "other\\"), 0);

    // Another file of the same bytes is replaced.
    const std::string other = writeFile("other\\copy.txt", "a\tb\r\n");
    ReplacementFile file(other);
    file.write("converted");
    file.commit(&open);
    EXPECT_EQ(readFile(other), "converted");
}

TEST_F(Replacement, AFlushThatFailsLeavesTheFormerDestination) {
    const std::string destination = writeFile("out.txt", "former");
    calls.flushFails = true;
    FileMovesOverride counted(calls);
    EXPECT_EQ(replaceWith(destination, "new"), 75);
    EXPECT_EQ(readFile(destination), "former");
    EXPECT_EQ(calls.replaces + calls.moves, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AMoveThatAnotherProgramBrieflyStandsInTheWayOfIsTriedAgain) {
    const std::string destination = writeFile("out.txt", "former");
    calls.failingMoves = 3;
    FileMovesOverride counted(calls);
    EXPECT_EQ(replaceWith(destination, "new"), 0);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(calls.replaces, 4);
    EXPECT_EQ(calls.pauses, 3);

    calls = CountingMoves{};
    calls.failingMoves = 2;
    calls.moveFailure = ERROR_ACCESS_DENIED;
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new"), 0);
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.moves, 3);
}

TEST_F(Replacement, AMoveThatStaysBlockedGivesUpAfterAboutASecond) {
    const std::string destination = writeFile("out.txt", "former");
    calls.failingMoves = 1000;
    FileMovesOverride counted(calls);
    EXPECT_EQ(replaceWith(destination, "new"), 70);
    EXPECT_EQ(calls.replaces, 10);
    EXPECT_EQ(calls.pauses, 9);
    EXPECT_EQ(calls.pausedFor, 900u);
    EXPECT_EQ(readFile(destination), "former");
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AMoveFailingForAnotherReasonIsNotTriedAgain) {
    calls.failingMoves = 1000;
    calls.moveFailure = ERROR_DISK_FULL;
    FileMovesOverride counted(calls);
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new"), 61);
    EXPECT_EQ(calls.moves, 1);
    EXPECT_EQ(calls.pauses, 0);
    EXPECT_FALSE(exists(temp() + "new.txt"));
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AReadOnlyDestinationIsRefusedAndLeftAsItIs) {
    const std::string destination = writeFile("out.txt", "former");
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY);
    const int32_t number = replaceWith(destination, "new");
    const DWORD attributes = GetFileAttributesA(destination.c_str());
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(number, 75);
    EXPECT_EQ(readFile(destination), "former");
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, ReplacingKeepsTheDestinationsAttributes) {
    const std::string destination = writeFile("out.txt", "former");
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(replaceWith(destination, "new"), 0);
    const DWORD attributes = GetFileAttributesA(destination.c_str());
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
}

TEST_F(Replacement, ADestinationHeldOpenByAnotherProgramIsKeptAndNothingIsLeftBeside) {
    const std::string destination = writeFile("out.txt", "former");
    FileMovesOverride counted(calls); // pauses counted, not waited
    {
        FileHandle held(
            CreateFileA(destination.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(replaceWith(destination, "new"), 70);
    }
    EXPECT_EQ(calls.replaces, 10);
    EXPECT_EQ(readFile(destination), "former");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((temp() + "*").c_str(), &found);
    std::vector<std::string> names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "out.txt"}));
}

TEST_F(Replacement, AnUncommittedReplacementLeavesNothingBehind) {
    const std::string destination = writeFile("out.txt", "former");
    {
        ReplacementFile file(destination);
        file.write("half of it");
        EXPECT_EQ(temporaryFilesIn(temp()), 1);
    }
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
    EXPECT_EQ(readFile(destination), "former");
}

// A folder run, as the job layer runs it.
class FolderJob : public Replacement {
protected:
    void SetUp() override {
        Replacement::SetUp();
        CreateDirectoryA((temp() + "Source Folder").c_str(), nullptr);
        CreateDirectoryA((temp() + "dst").c_str(), nullptr);
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            sources.push_back(writeFile(std::string("Source Folder\\") + name, "\tx\r\n"));
    }
    // The error number of the run into the folder, 0 when it ended well.
    int32_t runInto(const std::string &folder, Rule rule) {
        try {
            convertFolder(sources, FolderConversion{rule, folder, [] { return int16_t{2}; }, [] {}});
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
    std::vector<std::string> sources;
};

TEST_F(FolderJob, IntoAnEmptyFolderEachFileIsOneMoveAndOverItsFilesOneFlushedReplace) {
    FileMovesOverride counted(calls);
    EXPECT_EQ(runInto(temp() + "dst", Rule::TabStops), 0);
    EXPECT_EQ(calls.freeMoves, 3);
    EXPECT_EQ(calls.flushes + calls.replaces + calls.moves, 0);
    EXPECT_EQ(readFile(temp() + "dst\\b.txt"), "  x\r\n");

    calls = CountingMoves{};
    EXPECT_EQ(runInto(temp() + "dst\\", Rule::FixedSpaces), 0);
    EXPECT_EQ(calls.replaces, 3);
    EXPECT_EQ(calls.flushes, 3);
    EXPECT_EQ(calls.freeMoves + calls.moves, 0);
    EXPECT_EQ(readFile(temp() + "dst\\c.txt"), "  x\r\n\r\n");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

TEST_F(FolderJob, TheSourceFolderUnderAnotherSpellingAsTheDestinationChangesNothing) {
    const std::string folder = temp() + "Source Folder";
    for (const std::string &spelling :
         {shortName(folder), upperCase(folder), folder + "\\.", temp() + "dst\\..\\Source Folder\\"}) {
        for (const Rule rule : {Rule::TabStops, Rule::FixedSpaces}) {
            SCOPED_TRACE(spelling);
            EXPECT_EQ(runInto(spelling, rule), 75);
            for (const std::string &source : sources) EXPECT_EQ(readFile(source), "\tx\r\n");
            EXPECT_EQ(temporaryFilesIn(folder + "\\"), 0);
        }
    }
}

TEST_F(FolderJob, ADestinationThatIsAHardLinkToItsSourceIsRefusedAndTheSourceStays) {
    ASSERT_TRUE(CreateHardLinkA((temp() + "dst\\b.txt").c_str(), sources[1].c_str(), nullptr));
    EXPECT_EQ(runInto(temp() + "dst", Rule::TabStops), 75);
    EXPECT_EQ(readFile(sources[1]), "\tx\r\n");
    EXPECT_EQ(readFile(temp() + "dst\\a.txt"), "  x\r\n"); // the files before it are converted
    EXPECT_FALSE(exists(temp() + "dst\\c.txt"));
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

} // namespace
