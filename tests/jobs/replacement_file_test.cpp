// The file layer under the conversion jobs: files told apart by identity rather than by spelling,
// and destinations replaced whole or not at all.
#include "win_fixture.h"

#include "app_error.h"
#include "engine_support.h"
#include "file_jobs.h"
#include "handles.h"
#include "path_text.h"
#include "replacement_file.h"
#include "text_files.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
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

// The names in a folder (ending in a backslash), in order.
std::vector<std::string> sortedNamesIn(const std::string &folder) {
    std::vector<std::string> names = namesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
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
        EXPECT_EQ(sameFileOnDisk(source, spelling, systemMoves), Sameness::Same);
    }
}

TEST_F(FileIdentity, OtherFilesMissingFilesAndFoldersAreTold) {
    const std::string first = writeFile("first.txt", "same bytes");
    const std::string second = writeFile("second.txt", "same bytes");
    EXPECT_EQ(sameFileOnDisk(first, second, systemMoves), Sameness::Different);
    EXPECT_EQ(sameFileOnDisk(first, temp() + "missing.txt", systemMoves), Sameness::Different);
    EXPECT_EQ(sameFileOnDisk(temp() + "missing.txt", temp() + "missing.txt", systemMoves),
              Sameness::Different);
    EXPECT_EQ(sameFileOnDisk(temp(), temp() + ".", systemMoves), Sameness::Same);
    EXPECT_EQ(sameFileOnDisk(temp(), upperCase(temp()) + "\\", systemMoves), Sameness::Same);
    EXPECT_EQ(sameFileOnDisk(temp(), temp() + "..", systemMoves), Sameness::Different);
}

// Identity calls answering as other volumes and systems do.
class IdentityAnswers : public SystemFileMoves {
public:
    bool longIds = true, shortIds = true, finalPaths = true;
    bool oneShortIndex = false; // every file the same 64-bit index, as two files on ReFS may have

    int slowQueries = 0; // of the ids and paths, which may each ask the volume

    bool fileIndex(HANDLE file, ULONGLONG &index) override {
        if (!shortIds || !SystemFileMoves::fileIndex(file, index)) return refused();
        if (oneShortIndex) index = 7;
        return true;
    }
    bool fileId(HANDLE file, FileId128 &id) override {
        ++slowQueries;
        return longIds ? SystemFileMoves::fileId(file, id) : refused();
    }
    bool fileInformation(HANDLE file, BY_HANDLE_FILE_INFORMATION &info) override {
        ++slowQueries;
        if (!shortIds || !SystemFileMoves::fileInformation(file, info)) return refused();
        if (oneShortIndex) info.nFileIndexHigh = info.nFileIndexLow = 7;
        return true;
    }
    bool finalPath(HANDLE file, std::wstring &path) override {
        ++slowQueries;
        return finalPaths ? SystemFileMoves::finalPath(file, path) : refused();
    }

private:
    static bool refused() {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
};

TEST_F(FileIdentity, FilesAreToldApartByTheLongIdThenTheIndexThenTheFinalPathAndOtherwiseNotAtAll) {
    const std::string first = writeFile("First File.txt", "same bytes");
    const std::string second = writeFile("second.txt", "same bytes");
    const std::string link = temp() + "link.txt";
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), first.c_str(), nullptr));
    IdentityAnswers refs; // ReFS: alike 64-bit indexes, different 128-bit ids
    refs.oneShortIndex = true;
    IdentityAnswers windows7; // no 128-bit id
    windows7.longIds = false;
    IdentityAnswers pathsOnly;
    pathsOnly.longIds = pathsOnly.shortIds = false;
    for (IdentityAnswers *calls : {&refs, &windows7, &pathsOnly}) {
        EXPECT_EQ(sameFileOnDisk(first, second, *calls), Sameness::Different);
        EXPECT_EQ(sameFileOnDisk(first, shortName(first), *calls), Sameness::Same);
        EXPECT_EQ(sameFileOnDisk(first, upperCase(first) + ".", *calls), Sameness::Same);
    }
    EXPECT_EQ(sameFileOnDisk(first, link, refs), Sameness::Same);
    EXPECT_EQ(sameFileOnDisk(first, link, windows7), Sameness::Same);
    // Where the 64-bit indexes differ, nothing slower is asked.
    IdentityAnswers counted;
    EXPECT_EQ(sameFileOnDisk(first, second, counted), Sameness::Different);
    EXPECT_EQ(counted.slowQueries, 0);
    EXPECT_EQ(sameFileOnDisk(first, link, counted), Sameness::Same);
    EXPECT_EQ(counted.slowQueries, 2);
    // An id that only one of the two gives is no answer; the final paths are.
    IdentityAnswers nothing;
    nothing.longIds = nothing.shortIds = nothing.finalPaths = false;
    EXPECT_EQ(sameFileOnDisk(first, second, nothing), Sameness::Unknown);
    EXPECT_EQ(sameFileOnDisk(first, temp() + "missing.txt", nothing), Sameness::Different);
}

TEST_F(FileIdentity, ConvertingAFileIntoItselfIsRefusedAndTheSourceStays) {
    const std::string source = writeFile("Source File.txt", "a\tb\r\n");
    for (const std::string &spelling : {shortName(source), source + ".", upperCase(source)}) {
        SCOPED_TRACE(spelling);
        try {
            convertFileFixedSpaces(
                source, spelling, [] { return int16_t{2}; }, systemFiles);
            ADD_FAILURE() << "converted";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 75);
        }
        try {
            convertFileTabStops(source, spelling, 4, systemFiles);
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

// Windows' own calls, counted, with the first few replaces or moves failing as told. A folder run
// flushes on threads of its own.
class CountingMoves : public SystemFileMoves {
public:
    int flushes = 0, replaces = 0, moves = 0, freeMoves = 0, renames = 0, pauses = 0;
    DWORD pausedFor = 0;
    int failingMoves = 0, failingRemoves = 0;
    DWORD moveFailure = ERROR_SHARING_VIOLATION;
    bool flushFails = false;

    bool flush(HANDLE file) override {
        static std::mutex counting;
        {
            const std::lock_guard<std::mutex> hold(counting);
            ++flushes;
        }
        if (flushFails) {
            SetLastError(ERROR_INVALID_FUNCTION);
            return false;
        }
        return SystemFileMoves::flush(file);
    }
    bool replace(const std::string &destination, const std::string &replacement,
                 const std::string &backup) override {
        ++replaces;
        return !failsNow() && SystemFileMoves::replace(destination, replacement, backup);
    }
    bool move(const std::string &from, const std::string &to) override {
        ++moves;
        return !failsNow() && SystemFileMoves::move(from, to);
    }
    bool moveToFreeName(const std::string &from, const std::string &to) override {
        ++freeMoves;
        return !failsNow() && SystemFileMoves::moveToFreeName(from, to);
    }
    bool renameOpenFile(HANDLE file, const std::string &to) override {
        ++renames;
        return !failsNow() && SystemFileMoves::renameOpenFile(file, to);
    }
    bool remove(const std::string &path) override {
        if (failingRemoves == 0) return SystemFileMoves::remove(path);
        --failingRemoves;
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
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
    return static_cast<int>(namesMatching(folder + "~qm*").size());
}

class Replacement : public WinTest {
protected:
    // Writes the bytes through a replacement of the destination and commits it; the error number,
    // 0 when it was committed.
    int32_t replaceWith(const std::string &destination, const std::string &bytes) {
        return replaceWith(destination, bytes, calls);
    }
    static int32_t replaceWith(const std::string &destination, const std::string &bytes, FileMoves &through) {
        try {
            ReplacementFile file(destination, through);
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
    EXPECT_EQ(replaceWith(destination, "new"), 0);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(calls.flushes, 1);
    EXPECT_EQ(calls.replaces, 1);
    EXPECT_EQ(calls.moves, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, ANewDestinationIsMovedIntoPlaceWithoutAFlush) {
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new"), 0);
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.flushes, 0);
    EXPECT_EQ(calls.replaces, 0);
    EXPECT_EQ(calls.moves + calls.freeMoves, 0);
    EXPECT_EQ(calls.renames, 1);
}

TEST_F(Replacement, ADestinationSeenFreeIsMovedToItsNameByAMoveThatReplacesNothing) {
    ReplacementFile file(temp() + "new.txt", calls, DestinationSeen::Free);
    file.write("new");
    file.commit();
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.renames, 1);
    EXPECT_EQ(calls.flushes + calls.replaces + calls.moves + calls.freeMoves, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AFileThatTookAFreeNameMeanwhileIsReplacedAfterAFlush) {
    {
        ReplacementFile file(temp() + "out.txt", calls, DestinationSeen::Free);
        file.write("new");
        writeFile("out.txt", "another program's bytes");
        file.commit();
    }
    EXPECT_EQ(readFile(temp() + "out.txt"), "new");
    EXPECT_EQ(calls.renames, 1);
    EXPECT_EQ(calls.flushes, 1);
    EXPECT_EQ(calls.replaces, 1);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);

    // ... and a read-only one is left as it is.
    calls = CountingMoves{};
    {
        ReplacementFile file(temp() + "kept.txt", calls, DestinationSeen::Free);
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
    ReplacementFile file(temp() + "new.txt", calls, DestinationSeen::Free);
    file.write("new");
    file.commit();
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.renames, 3);
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
            ReplacementFile file(spelling, calls, seen);
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
    ReplacementFile file(other, calls);
    file.write("converted");
    file.commit(&open);
    EXPECT_EQ(readFile(other), "converted");
}

TEST_F(Replacement, AFlushThatFailsLeavesTheFormerDestination) {
    const std::string destination = writeFile("out.txt", "former");
    calls.flushFails = true;
    EXPECT_EQ(replaceWith(destination, "new"), 75);
    EXPECT_EQ(readFile(destination), "former");
    EXPECT_EQ(calls.replaces + calls.moves, 0);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AMoveThatAnotherProgramBrieflyStandsInTheWayOfIsTriedAgain) {
    const std::string destination = writeFile("out.txt", "former");
    calls.failingMoves = 3;
    EXPECT_EQ(replaceWith(destination, "new"), 0);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(calls.replaces, 4);
    EXPECT_EQ(calls.pauses, 3);

    calls = CountingMoves{};
    calls.failingMoves = 2;
    calls.moveFailure = ERROR_ACCESS_DENIED;
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new"), 0);
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(calls.renames, 3);

    // ... and so is deleting the former file under its backup name.
    calls = CountingMoves{};
    calls.failingRemoves = 2;
    EXPECT_EQ(replaceWith(destination, "newer"), 0);
    EXPECT_EQ(readFile(destination), "newer");
    EXPECT_EQ(calls.pauses, 2);
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

TEST_F(Replacement, AMoveThatStaysBlockedGivesUpAfterAboutASecond) {
    const std::string destination = writeFile("out.txt", "former");
    calls.failingMoves = 1000;
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
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new"), 61);
    EXPECT_EQ(calls.renames, 1);
    EXPECT_EQ(calls.pauses, 0);
    EXPECT_FALSE(exists(temp() + "new.txt"));
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
}

// The backup names a replacement asks the folder about before ReplaceFile, and the one it gives it.
class BackupNames : public CountingMoves {
public:
    int asked = 0;
    std::string given;

    DWORD attributes(const std::string &path) override {
        if (given.empty() && path.size() > 4 && path.compare(path.size() - 4, 4, ".bak") == 0) ++asked;
        return CountingMoves::attributes(path);
    }
    bool replace(const std::string &destination, const std::string &replacement,
                 const std::string &backup) override {
        given = backup;
        return CountingMoves::replace(destination, replacement, backup);
    }
};

// Files named as this program names its backups, left by an earlier program of the same process id,
// are never taken: a folder run knows them from its listing, anyone else (and a run whose listing
// failed) asks the folder.
TEST_F(Replacement, ABackupNameIsNeverAFileThatWasThere) {
    const std::string destination = writeFile("out.txt", "former");
    const FolderNames failed(temp() + "missing");
    const std::string ways[] = {"from the listing", "a failed listing", "no listing"};
    for (int way = 0; way < 3; ++way) {
        const std::string &how = ways[way];
        SCOPED_TRACE(how);
        const bool listed = way == 0;
        std::string stem;
        {
            ReplacementFile peek(temp() + "peek.txt", calls); // the next one takes the next number
            const std::string path = peek.temporaryPath();
            const std::size_t dash = path.rfind('-');
            stem = path.substr(0, dash + 1) + std::to_string(std::stoi(path.substr(dash + 1)) + 1);
        }
        // The names carry the destination's name, so a person who finds one knows whose it is.
        for (const std::string &stale : {stem + ".out.txt.bak", stem + "-1.out.txt.bak"})
            writeFile(filePart(stale, pathPart::fileName), "stale");
        const FolderNames listing(temp());
        BackupNames names;
        {
            const FolderNames *handed[] = {&listing, &failed, nullptr};
            ReplacementFile file(destination, names, DestinationSeen::Unknown, handed[way]);
            ASSERT_EQ(file.temporaryPath(), stem + ".out.txt.tmp");
            file.write(how);
            file.commit();
        }
        EXPECT_EQ(names.given, stem + "-2.out.txt.bak");
        EXPECT_EQ(names.asked, listed ? 0 : 3);
        EXPECT_EQ(readFile(destination), how);
        for (const std::string &stale : {stem + ".out.txt.bak", stem + "-1.out.txt.bak"}) {
            EXPECT_EQ(readFile(stale), "stale");
            DeleteFileA(stale.c_str());
        }
        EXPECT_EQ(temporaryFilesIn(temp()), 0);
    }
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
        ReplacementFile file(destination, calls);
        file.write("half of it");
        EXPECT_EQ(temporaryFilesIn(temp()), 1);
    }
    EXPECT_EQ(temporaryFilesIn(temp()), 0);
    EXPECT_EQ(readFile(destination), "former");
}

TEST_F(Replacement, ANameThatIsAnotherFilesAliasDoesNotNameThatFile) {
    const std::string kept = writeFile("report_final.txt", "the only copy");
    const std::string alias = shortName(kept); // REPO~2ZS.TXT under Wine, REPORT~1.TXT on Windows
    ASSERT_NE(upperCase(filePart(alias, pathPart::fileName)), "REPORT_FINAL.TXT");
    CreateDirectoryA((temp() + "report_folder").c_str(), nullptr);
    const std::string folderAlias = shortName(temp() + "report_folder");
    ASSERT_NE(upperCase(filePart(folderAlias, pathPart::fileName)), "REPORT_FOLDER");
    for (const std::string &name : {alias, folderAlias}) {
        for (const DestinationSeen seen : {DestinationSeen::Unknown, DestinationSeen::Free}) {
            SCOPED_TRACE(name);
            ReplacementFile file(name, calls, seen);
            file.write("new");
            EXPECT_THROW(file.commit(), DestinationIsAlias);
        }
    }
    EXPECT_EQ(readFile(kept), "the only copy");
    EXPECT_EQ(GetFileAttributesA((temp() + "report_folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(sortedNamesIn(temp()), (std::vector<std::string>{"report_final.txt", "report_folder"}));
    EXPECT_EQ(calls.replaces + calls.moves + calls.freeMoves, 0);

    // A name that is its own alias, in another case, names its file.
    writeFile("REPORT.TXT", "older");
    EXPECT_EQ(replaceWith(temp() + "report.txt", "new"), 0);
    EXPECT_EQ(readFile(temp() + "REPORT.TXT"), "new");
}

// ReplaceFile stopping halfway, leaving the files as Microsoft documents: with 1177 the replaced file
// has moved to the backup name and the replacement is still under its own; with 1176 and a backup
// name, nothing has moved.
class HalfwayReplace : public CountingMoves {
public:
    DWORD stopWith = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    int halfwayReplaces = 1;
    int refusedFreeMoves = 0; // the moves to a free name that are refused
    std::string backupGiven;

    bool replace(const std::string &destination, const std::string &replacement,
                 const std::string &backup) override {
        backupGiven = backup;
        if (halfwayReplaces == 0) return CountingMoves::replace(destination, replacement, backup);
        --halfwayReplaces;
        ++replaces;
        if (stopWith == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileA(destination.c_str(), backup.c_str());
        SetLastError(stopWith);
        return false;
    }
    bool moveToFreeName(const std::string &from, const std::string &to) override {
        if (refusedFreeMoves == 0) return CountingMoves::moveToFreeName(from, to);
        --refusedFreeMoves;
        ++freeMoves;
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
};

TEST_F(Replacement, AReplaceThatStopsHalfwayIsFinishedOrUndoneAndNothingIsLost) {
    const std::string destination = writeFile("out.txt", "former");
    HalfwayReplace finished;
    EXPECT_EQ(replaceWith(destination, "new", finished), 0);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(filePart(finished.backupGiven, pathPart::folder), temp());
    EXPECT_EQ(sortedNamesIn(temp()), std::vector<std::string>{"out.txt"}); // the backup went after success

    HalfwayReplace undone; // the replacement cannot take the name: the former file is put back
    undone.refusedFreeMoves = 1;
    EXPECT_EQ(replaceWith(destination, "newer", undone), 75);
    EXPECT_EQ(readFile(destination), "new");
    EXPECT_EQ(sortedNamesIn(temp()), std::vector<std::string>{"out.txt"});

    HalfwayReplace nothingMoved; // 1176 with a backup name: tried again
    nothingMoved.stopWith = ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    nothingMoved.halfwayReplaces = 2;
    EXPECT_EQ(replaceWith(destination, "newest", nothingMoved), 0);
    EXPECT_EQ(nothingMoved.replaces, 3);
    EXPECT_EQ(nothingMoved.pauses, 2);
    EXPECT_EQ(readFile(destination), "newest");
    nothingMoved.halfwayReplaces = 1000;
    EXPECT_EQ(replaceWith(destination, "never", nothingMoved), 75);
    EXPECT_EQ(readFile(destination), "newest");
    EXPECT_EQ(sortedNamesIn(temp()), std::vector<std::string>{"out.txt"});
}

TEST_F(Replacement, AReplaceThatStopsHalfwayAndCanBeNeitherFinishedNorUndoneSaysWhereTheTextIs) {
    const std::string destination = writeFile("out.txt", "former");
    HalfwayReplace stuck;
    stuck.refusedFreeMoves = 2;
    std::string replacement;
    {
        ReplacementFile file(destination, stuck);
        replacement = file.temporaryPath();
        file.write("new");
        try {
            file.commit();
            ADD_FAILURE() << "committed";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 75);
            EXPECT_EQ(error.description,
                      destination + " could not be replaced whole.\r\nIts new text is in " + replacement +
                          "\r\nand its former text in " + stuck.backupGiven + ".");
        }
    }
    EXPECT_FALSE(exists(destination));
    EXPECT_EQ(readFile(replacement), "new");
    EXPECT_EQ(readFile(stuck.backupGiven), "former");
}

TEST_F(Replacement, AVolumeWithoutReplaceFileGetsAPlainMoveWhileAnotherProgramsHoldIsWaitedOut) {
    const std::string destination = writeFile("out.txt", "former");
    for (const DWORD code :
         {DWORD{ERROR_INVALID_PARAMETER}, DWORD{ERROR_NOT_SUPPORTED}, DWORD{ERROR_ACCESS_DENIED}}) {
        SCOPED_TRACE(code);
        calls = CountingMoves{};
        calls.failingMoves = 1;
        calls.moveFailure = code;
        EXPECT_EQ(replaceWith(destination, "moved " + std::to_string(code)), 0);
        EXPECT_EQ(readFile(destination), "moved " + std::to_string(code));
        EXPECT_EQ(calls.replaces, 1);
        EXPECT_EQ(calls.moves, 1);
        EXPECT_EQ(calls.pauses, 0);
    }
    for (const DWORD code : {DWORD{ERROR_SHARING_VIOLATION}, DWORD{ERROR_LOCK_VIOLATION},
                             DWORD{ERROR_UNABLE_TO_REMOVE_REPLACED}}) {
        SCOPED_TRACE(code);
        calls = CountingMoves{};
        calls.failingMoves = 1;
        calls.moveFailure = code;
        EXPECT_EQ(replaceWith(destination, "replaced " + std::to_string(code)), 0);
        EXPECT_EQ(readFile(destination), "replaced " + std::to_string(code));
        EXPECT_EQ(calls.replaces, 2);
        EXPECT_EQ(calls.moves, 0);
    }
    EXPECT_EQ(sortedNamesIn(temp()), std::vector<std::string>{"out.txt"});
}

// A folder where the user may create files but not delete or rename them: only the handle that
// created a file may still rename it or mark it for deletion.
class CreateButNotDelete : public CountingMoves {
public:
    bool renameFails = false;

    bool replace(const std::string &, const std::string &, const std::string &) override {
        ++replaces;
        return denied();
    }
    bool move(const std::string &, const std::string &) override {
        ++moves;
        return denied();
    }
    bool moveToFreeName(const std::string &, const std::string &) override {
        ++freeMoves;
        return denied();
    }
    bool remove(const std::string &) override { return denied(); }
    bool renameOpenFile(HANDLE file, const std::string &to) override {
        ++renames;
        return renameFails ? denied() : SystemFileMoves::renameOpenFile(file, to);
    }

private:
    static bool denied() {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
};

TEST_F(Replacement, InAFolderThatAllowsCreatingButNotDeletingANewDestinationIsRenamedByItsOwnHandle) {
    CreateButNotDelete folder;
    EXPECT_EQ(replaceWith(temp() + "new.txt", "new", folder), 0);
    EXPECT_EQ(readFile(temp() + "new.txt"), "new");
    EXPECT_EQ(folder.renames, 1);
    EXPECT_EQ(folder.moves + folder.freeMoves + folder.replaces, 0);

    // A rename refused as well leaves nothing: the file is marked again through its handle.
    folder.renameFails = true;
    EXPECT_EQ(replaceWith(temp() + "other.txt", "new", folder), 75);
    EXPECT_EQ(sortedNamesIn(temp()), std::vector<std::string>{"new.txt"});
}

// The attributes that ReplaceFile and the plain move are given, as a destination reports them.
class ReportedAttributes : public CountingMoves {
public:
    DWORD reported = 0;
    DWORD given = 0;
    DWORD attributes(const std::string &path) override {
        const DWORD real = SystemFileMoves::attributes(path);
        return real != INVALID_FILE_ATTRIBUTES && path.find("~qm") == std::string::npos ? reported : real;
    }
    bool setAttributes(HANDLE file, DWORD attributes) override {
        given = attributes;
        return SystemFileMoves::setAttributes(file, attributes & ~FILE_ATTRIBUTE_OFFLINE);
    }
};

TEST_F(Replacement, AReplacementTakesOnlyTheAttributesThatAreTheUsersToKeep) {
    const std::string destination = writeFile("out.txt", "former");
    ReportedAttributes offline;
    offline.reported = FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                       FILE_ATTRIBUTE_TEMPORARY | 0x00080000 /* PINNED */ | 0x00100000 /* UNPINNED */;
    EXPECT_EQ(replaceWith(destination, "new", offline), 0);
    EXPECT_EQ(offline.given, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED});
    ReportedAttributes plain;
    plain.reported = FILE_ATTRIBUTE_OFFLINE;
    EXPECT_EQ(replaceWith(destination, "newer", plain), 0);
    EXPECT_EQ(plain.given, DWORD{FILE_ATTRIBUTE_NORMAL});
    EXPECT_EQ(readFile(destination), "newer");
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Flushes held until the test releases them (as the run converts its files), failing for replacements
// of the sizes told. A flush still held after ten seconds, far longer than any of these runs takes,
// goes on and is counted: the run waited for it instead of converting its next files.
class HeldFlushes : public CountingMoves {
public:
    std::map<LONGLONG, DWORD> failingSizes;
    std::atomic<int> waitedOn{0};
    std::vector<std::string> placed; // the names of the destinations put in place, in order

    void release() { SetEvent(released_.get()); }
    bool flush(HANDLE file) override {
        if (WaitForSingleObject(released_.get(), 10000) != WAIT_OBJECT_0) ++waitedOn;
        LARGE_INTEGER size{};
        const auto failing =
            GetFileSizeEx(file, &size) ? failingSizes.find(size.QuadPart) : failingSizes.end();
        if (failing == failingSizes.end()) return CountingMoves::flush(file);
        SetLastError(failing->second);
        return false;
    }
    bool replace(const std::string &destination, const std::string &replacement,
                 const std::string &backup) override {
        return noted(CountingMoves::replace(destination, replacement, backup), destination);
    }
    bool renameOpenFile(HANDLE file, const std::string &to) override {
        return noted(CountingMoves::renameOpenFile(file, to), to);
    }

private:
    bool noted(bool done, const std::string &destination) {
        if (done) placed.push_back(filePart(destination, pathPart::fileName));
        return done;
    }
    KernelHandle released_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

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
    int32_t runInto(const std::string &folder, TabRule rule) {
        try {
            WindowsFileSystem files(calls);
            convertFolder(sources, FolderConversion{rule, folder, [] { return int16_t{2}; }, [] {}}, files);
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
    // The same with tab stops into dst through the calls, afterEach told how many files are converted,
    // the sources whose destination name is another file's alias handed to failed.
    int32_t runThrough(FileMoves &through, const std::function<void(int)> &afterEach,
                       std::vector<std::string> *failed = nullptr) {
        int done = 0;
        std::function<void(const std::string &)> recordFailed;
        if (failed) recordFailed = [failed](const std::string &source) { failed->push_back(source); };
        try {
            WindowsFileSystem files(through);
            convertFolder(sources,
                          FolderConversion{TabRule::TabStops,
                                           temp() + "dst",
                                           [] { return int16_t{2}; },
                                           [&] { afterEach(++done); },
                                           {},
                                           recordFailed},
                          files);
            return 0;
        } catch (const AppError &error) {
            return error.number;
        }
    }
    // A destination's bytes, "none" where there is no file.
    std::string inDestination(const std::string &name) {
        const std::string path = temp() + "dst\\" + name;
        return exists(path) ? readFile(path) : "none";
    }
    std::vector<std::string> sources;
};

TEST_F(FolderJob, IntoAnEmptyFolderEachFileIsOneMoveAndOverItsFilesOneFlushedReplace) {
    EXPECT_EQ(runInto(temp() + "dst", TabRule::TabStops), 0);
    EXPECT_EQ(calls.renames, 3);
    EXPECT_EQ(calls.flushes + calls.replaces + calls.moves + calls.freeMoves, 0);
    EXPECT_EQ(readFile(temp() + "dst\\b.txt"), "  x\r\n");

    calls = CountingMoves{};
    EXPECT_EQ(runInto(temp() + "dst\\", TabRule::FixedSpaces), 0);
    EXPECT_EQ(calls.replaces, 3);
    EXPECT_EQ(calls.flushes, 3);
    EXPECT_EQ(calls.renames + calls.freeMoves + calls.moves, 0);
    EXPECT_EQ(readFile(temp() + "dst\\c.txt"), "  x\r\n\r\n");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

TEST_F(FolderJob, TheSourceFolderUnderAnotherSpellingAsTheDestinationChangesNothing) {
    const std::string folder = temp() + "Source Folder";
    for (const std::string &spelling :
         {shortName(folder), upperCase(folder), folder + "\\.", temp() + "dst\\..\\Source Folder\\"}) {
        for (const TabRule rule : {TabRule::TabStops, TabRule::FixedSpaces}) {
            SCOPED_TRACE(spelling);
            EXPECT_EQ(runInto(spelling, rule), 75);
            for (const std::string &source : sources) EXPECT_EQ(readFile(source), "\tx\r\n");
            EXPECT_EQ(temporaryFilesIn(folder + "\\"), 0);
        }
    }
}

TEST_F(FolderJob, ADestinationThatIsAHardLinkToItsSourceIsRefusedAndTheSourceStays) {
    ASSERT_TRUE(CreateHardLinkA((temp() + "dst\\b.txt").c_str(), sources[1].c_str(), nullptr));
    EXPECT_EQ(runInto(temp() + "dst", TabRule::TabStops), 75);
    EXPECT_EQ(readFile(sources[1]), "\tx\r\n");
    EXPECT_EQ(readFile(temp() + "dst\\a.txt"), "  x\r\n"); // the files before it are converted
    EXPECT_FALSE(exists(temp() + "dst\\c.txt"));
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

TEST_F(FolderJob, ASourceNamedLikeAnotherFilesAliasIsListedAsFailedAndThatFileKept) {
    const std::string kept = writeFile("dst\\report_final.txt", "the only copy");
    const std::string alias = filePart(shortName(kept), pathPart::fileName);
    ASSERT_NE(upperCase(alias), "REPORT_FINAL.TXT");
    sources.insert(sources.begin() + 1, writeFile("Source Folder\\" + alias, "\tnew\r\n"));
    std::vector<std::string> failed;
    WindowsFileSystem files(calls);
    convertFolder(sources,
                  FolderConversion{TabRule::TabStops,
                                   temp() + "dst",
                                   [] { return int16_t{2}; },
                                   [] {},
                                   {},
                                   [&](const std::string &source) { failed.push_back(source); }},
                  files);
    EXPECT_EQ(failed, std::vector<std::string>{sources[1]});
    EXPECT_EQ(readFile(kept), "the only copy");
    EXPECT_EQ(readFile(temp() + "dst\\c.txt"), "  x\r\n"); // the run goes on
    EXPECT_EQ(sortedNamesIn(temp() + "dst\\"),
              (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "report_final.txt"}));
}

// Over existing files each flush runs while the next files convert, and the files go in place on a
// thread of their own; they still go in place in their order, a new destination only once every file
// before it is in place, and a destination is at any time either as it was or the whole new text.
TEST_F(FolderJob, FlushesRunWhileTheNextFilesConvertAndTheFilesGoInPlaceInTheirOrder) {
    sources.push_back(writeFile("Source Folder\\d.txt", "\tx\r\n"));
    writeFile("dst\\c.txt", "old");
    HeldFlushes held;
    std::vector<std::string> seen; // each file's destination just after it converted
    EXPECT_EQ(runThrough(held,
                         [&](int done) {
                             seen.push_back(inDestination(std::string(1, char('a' + done - 1)) + ".txt"));
                             if (done == 4) held.release();
                         }),
              0);
    ASSERT_EQ(seen.size(), 4u);
    for (const std::string &earlier : {seen[0], seen[1]})
        EXPECT_TRUE(earlier == "none" || earlier == "  x\r\n");
    EXPECT_EQ(seen[2], "old");  // its flush is held
    EXPECT_EQ(seen[3], "none"); // converted meanwhile, and waits for the file before it
    EXPECT_EQ(held.placed, (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
    EXPECT_EQ(held.flushes, 1);
    EXPECT_EQ(held.waitedOn.load(), 0);
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"}) EXPECT_EQ(inDestination(name), "  x\r\n");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

// The first file that cannot be put in place ends the run with its own error, ahead of a later file's
// error that was known first; the files after it keep their former text.
TEST_F(FolderJob, OverExistingFilesTheFirstThatCannotBePutInPlaceEndsTheRunAndTheRestStay) {
    sources.push_back(writeFile("Source Folder\\d.txt", "\tx\r\n"));
    const auto oldDestinations = [&] {
        for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
            writeFile(std::string("dst\\") + name, "old");
    };
    {
        SCOPED_TRACE("a flush that fails");
        oldDestinations();
        writeFile("Source Folder\\b.txt", "\tbb\r\n");  // 6 bytes converted
        writeFile("Source Folder\\c.txt", "\tccc\r\n"); // 7 bytes
        HeldFlushes held;
        held.failingSizes = {{6, ERROR_DISK_FULL}, {7, ERROR_ACCESS_DENIED}};
        EXPECT_EQ(runThrough(held,
                             [&](int done) {
                                 if (done == 3) held.release();
                             }),
                  61);
        EXPECT_EQ(held.placed, std::vector<std::string>{"a.txt"});
        EXPECT_EQ(held.waitedOn.load(), 0);
    }
    EXPECT_EQ(inDestination("a.txt"), "  x\r\n");
    for (const char *name : {"b.txt", "c.txt", "d.txt"}) EXPECT_EQ(inDestination(name), "old");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
    {
        SCOPED_TRACE("a destination held open by another program, and a source gone after it");
        oldDestinations();
        ASSERT_TRUE(DeleteFileA(sources[3].c_str())); // 53 when it is read
        HeldFlushes held;
        FileHandle open(CreateFileA((temp() + "dst\\b.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr));
        EXPECT_EQ(runThrough(held,
                             [&](int done) {
                                 if (done == 3) held.release();
                             }),
                  70);
        EXPECT_EQ(held.replaces, 11); // a once, b ten times
        EXPECT_EQ(held.waitedOn.load(), 0);
    }
    EXPECT_EQ(inDestination("a.txt"), "  x\r\n");
    for (const char *name : {"b.txt", "c.txt", "d.txt"}) EXPECT_EQ(inDestination(name), "old");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

TEST_F(FolderJob, AliasesAmongFilesWaitingForTheirFlushesAreListedInTheirOrderAndTheRestGoOn) {
    const std::string report = writeFile("dst\\report_final.txt", "the only copy");
    const std::string summary = writeFile("dst\\summary_notes.txt", "another only copy");
    for (const std::string &kept : {report, summary}) ASSERT_NE(upperCase(shortName(kept)), upperCase(kept));
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) writeFile(std::string("dst\\") + name, "old");
    sources.insert(
        sources.begin() + 1,
        writeFile("Source Folder\\" + filePart(shortName(report), pathPart::fileName), "\tnew\r\n"));
    sources.insert(
        sources.begin() + 3,
        writeFile("Source Folder\\" + filePart(shortName(summary), pathPart::fileName), "\tnew\r\n"));
    HeldFlushes held;
    std::vector<std::string> failed;
    EXPECT_EQ(runThrough(
                  held,
                  [&](int done) {
                      if (done == 5) held.release();
                  },
                  &failed),
              0);
    EXPECT_EQ(failed, (std::vector<std::string>{sources[1], sources[3]}));
    EXPECT_EQ(held.placed, (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(held.waitedOn.load(), 0);
    EXPECT_EQ(readFile(report), "the only copy");
    EXPECT_EQ(readFile(summary), "another only copy");
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(inDestination(name), "  x\r\n");
    EXPECT_EQ(sortedNamesIn(temp() + "dst\\"),
              (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "report_final.txt", "summary_notes.txt"}));
}

// A stop between files (the window closed during the run) puts in place the files converted until then,
// whatever their flushes were doing, and nothing after them; a failure among them still ends the run.
TEST_F(FolderJob, AStopBetweenFilesPutsInPlaceTheFilesBeforeItAndNoneAfter) {
    struct Stopped {};
    const auto stopAfterB = [](HeldFlushes &held) {
        return [&held](int done) {
            if (done < 2) return;
            held.release();
            throw Stopped{};
        };
    };
    writeFile("dst\\a.txt", "old");
    writeFile("dst\\c.txt", "old");
    {
        HeldFlushes held;
        EXPECT_THROW(runThrough(held, stopAfterB(held)), Stopped);
        EXPECT_EQ(held.placed, (std::vector<std::string>{"a.txt", "b.txt"}));
        EXPECT_EQ(held.waitedOn.load(), 0);
    }
    EXPECT_EQ(inDestination("a.txt"), "  x\r\n");
    EXPECT_EQ(inDestination("b.txt"), "  x\r\n");
    EXPECT_EQ(inDestination("c.txt"), "old");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);

    ASSERT_TRUE(DeleteFileA((temp() + "dst\\b.txt").c_str()));
    writeFile("dst\\a.txt", "old");
    {
        HeldFlushes held;
        FileHandle open(CreateFileA((temp() + "dst\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr));
        EXPECT_EQ(runThrough(held, stopAfterB(held)), 70);
    }
    EXPECT_EQ(inDestination("a.txt"), "old");
    EXPECT_EQ(inDestination("b.txt"), "none");
    EXPECT_EQ(inDestination("c.txt"), "old");
    EXPECT_EQ(temporaryFilesIn(temp() + "dst\\"), 0);
}

} // namespace
