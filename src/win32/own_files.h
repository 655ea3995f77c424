// The names of the program's own files beside a user's files (replacements being written, the backup of
// a file being replaced, standard input spilled to disk), and putting right what a program that was
// ended in the middle of a replace left in a folder.
//
// Each name carries the id of the process that made it and a number given once in that process, and
// the names beside a destination also carry that destination's name, so a person who finds one knows
// what it is: "~qm1234-7.report.txt.tmp" is a new text for "report.txt" being written, and
// "~qm1234-7.report.txt.bak" its former text while the new one takes its place.
#pragma once

#include "file_moves.h"
#include "handles.h"

#include <optional>
#include <string>

// "~qm<process id>-<number>", with a number no other call in this process gets.
std::string ownFileStem();

// The stem's temporary and backup names beside a destination named destinationName ("report.txt"); a
// name that would be too long for a file system drops the destination's name. backupNumber 0 is the
// first choice of backup name; 1, 2 ... others where that one is taken.
std::string ownTemporaryName(const std::string &stem, const std::string &destinationName);
std::string ownBackupName(const std::string &stem, const std::string &destinationName, int backupNumber);

// What one of those names says, where it is one.
struct OwnFileName {
    unsigned long processId = 0;
    std::string destinationName; // "" where the name does not carry it
    bool backup = false;         // .bak; otherwise .tmp
};
std::optional<OwnFileName> readOwnFileName(const std::string &name);

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
