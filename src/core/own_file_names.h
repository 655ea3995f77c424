// The names of the program's own files beside a user's files (replacements being written, the backup of
// a file being replaced, standard input spilled to disk), the same on every platform.
//
// Each name carries the id of the process that made it and a number given once in that process, and
// the names beside a destination also carry that destination's name, so a person who finds one knows
// what it is: "~qm1234-7.report.txt.tmp" is a new text for "report.txt" being written, and
// "~qm1234-7.report.txt.bak" its former text while the new one takes its place. The next run tells
// them by their process id: one of a process that no longer runs is a leftover to put right.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a file system measures the longest name it takes (255): NTFS, FAT32 and exFAT count UTF-16 units,
// the POSIX file systems bytes (NAME_MAX).
enum class NameMeasure { Utf16Units, Bytes };
inline constexpr std::size_t longestFileName = 255;

bool nameFits(std::string_view name, NameMeasure measure);

// "~qm<process id>-<number>", with a number no other call in this process gets.
std::string ownFileStem(unsigned long processId);

// The stem's temporary and backup names beside a destination named destinationName ("report.txt"); a
// name that would be too long for the file system drops the destination's name. backupNumber 0 is the
// first choice of backup name; 1, 2 ... others where that one is taken.
std::string ownTemporaryName(const std::string &stem, const std::string &destinationName,
                             NameMeasure measure);
std::string ownBackupName(const std::string &stem, const std::string &destinationName, int backupNumber,
                          NameMeasure measure);

// What one of those names says, where it is one (letter case aside, as Windows compares names).
struct OwnFileName {
    unsigned long processId = 0;
    std::string destinationName; // "" where the name does not carry it
    bool backup = false;         // .bak; otherwise .tmp
};
std::optional<OwnFileName> readOwnFileName(const std::string &name);

// Whether a file has a name now: Unknown where the platform cannot tell.
enum class NamePresence { Taken, Free, Unknown };

// What putting right a folder's leftovers asks of a platform, each name within that folder. Failures
// are passed over: what cannot be put right stays as it was.
class LeftoverFiles {
public:
    virtual bool processIsRunning(unsigned long processId) = 0;
    virtual NamePresence presenceOf(const std::string &name) = 0;
    // The backup's text back under the destination's name, where no file has taken it meanwhile.
    virtual void restore(const std::string &backupName, const std::string &destinationName) = 0;
    virtual void remove(const std::string &name) = 0;

protected:
    ~LeftoverFiles() = default;
};

// Among a folder's own files (their names as the platform lists them), what processes that no longer
// run, `self` aside, left of their replaces: a destination whose name is free gets its former text back
// from its backup, and a backup whose destination has a file is removed; then every temporary file is
// removed, so that a temporary file is never the only copy of a destination's text. A backup that does
// not name its destination, or whose destination cannot be told, stays.
void putRightLeftovers(const std::vector<std::string> &ownNames, unsigned long self, LeftoverFiles &files);
