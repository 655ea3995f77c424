// The program's own files beside a user's files on Windows (their names are own_file_names.h), a file
// for standard input spilled to disk, and putting right what a program that was ended in the middle
// of a replace left in a folder.
#pragma once

#include "file_moves.h"
#include "handles.h"
#include "own_file_names.h"

#include <string>

// The names of this process, measured as NTFS, FAT32 and exFAT measure them.
inline std::string ownFileStem() { return ownFileStem(GetCurrentProcessId()); }
inline std::string ownTemporaryName(const std::string &stem, const std::string &destinationName) {
    return ownTemporaryName(stem, destinationName, NameMeasure::Utf16Units);
}
inline std::string ownBackupName(const std::string &stem, const std::string &destinationName,
                                 int backupNumber) {
    return ownBackupName(stem, destinationName, backupNumber, NameMeasure::Utf16Units);
}

// A file for standard input that goes past what is held in memory, in the folder (which ends in a
// backslash): only this program sees it, and the system removes it when it is closed, also when the
// program is ended in any other way.
FileHandle createSpillFile(const std::string &folder);

// The user's temporary folder, with a trailing backslash.
std::string temporaryFolder();

// Whether a process of that id runs now.
bool processIsRunning(unsigned long processId);

// In the folder, what processes that no longer run left of their replaces: a destination whose name is
// missing gets its former text back from its backup; every other backup, and every temporary file, of
// those processes is removed. Failures are passed over: what cannot be put right stays as it was.
void recoverLeftovers(const std::string &folder, FileMoves &calls);
