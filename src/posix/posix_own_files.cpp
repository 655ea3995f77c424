#include "posix_own_files.h"

#include "own_file_names.h"
#include "posix_paths.h"

#include <cerrno>
#include <dirent.h>
#include <limits>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Windows takes "~QM...BAK" for its own; a POSIX name is its bytes, so only the program's own spelling
// counts here.
bool spelledAsOwn(const std::string &name) {
    return name.rfind("~qm", 0) == 0 && name.size() > 4 &&
           (name.compare(name.size() - 4, 4, ".tmp") == 0 || name.compare(name.size() - 4, 4, ".bak") == 0);
}

std::vector<std::string> ownRegularFilesIn(const std::string &folder) {
    std::vector<std::string> names;
    DIR *listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) return names;
    while (const dirent *entry = readdir(listing)) {
        const std::string name = entry->d_name;
        struct stat about {};
        if (spelledAsOwn(name) && lstat(joined(folder, name).c_str(), &about) == 0 && S_ISREG(about.st_mode))
            names.push_back(name);
    }
    closedir(listing);
    return names;
}

// The backup's text back under the destination's name, where no file has taken it meanwhile.
void restoreBackup(const std::string &backup, const std::string &destination, PosixCalls &calls) {
    if (calls.renameToFreeName(backup, destination) == 0 || (errno != EINVAL && errno != ENOSYS)) return;
    struct stat about {};
    if (lstat(destination.c_str(), &about) != 0 && errno == ENOENT) calls.rename(backup, destination);
}

// One folder's leftovers, as putRightLeftovers asks for them.
class FolderLeftovers : public LeftoverFiles {
public:
    FolderLeftovers(const std::string &folder, PosixCalls &calls) : folder_(folder), calls_(calls) {}
    bool processIsRunning(unsigned long processId) override { return ::processIsRunning(processId); }
    NamePresence presenceOf(const std::string &name) override {
        struct stat about {};
        if (lstat(joined(folder_, name).c_str(), &about) == 0) return NamePresence::Taken;
        return errno == ENOENT ? NamePresence::Free : NamePresence::Unknown;
    }
    void restore(const std::string &backupName, const std::string &destinationName) override {
        restoreBackup(joined(folder_, backupName), joined(folder_, destinationName), calls_);
    }
    void remove(const std::string &name) override { calls_.unlink(joined(folder_, name)); }

private:
    const std::string &folder_;
    PosixCalls &calls_;
};

} // namespace

std::string ownFileStem() { return ownFileStem(static_cast<unsigned long>(getpid())); }

bool processIsRunning(unsigned long processId) {
    // 0 and the negative ids that a large number would turn into name process groups, not a process.
    if (processId == 0 || processId > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()))
        return false;
    if (kill(static_cast<pid_t>(processId), 0) == 0) return true;
    return errno == EPERM; // there, but another user's
}

void recoverLeftovers(const std::string &folder, PosixCalls &calls) {
    FolderLeftovers files(folder, calls);
    putRightLeftovers(ownRegularFilesIn(folder), static_cast<unsigned long>(getpid()), files);
}
