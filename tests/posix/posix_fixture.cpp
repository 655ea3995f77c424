#include "posix_fixture.h"

#include "app_error.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool isFolder(int file) {
    struct stat about {};
    return fstat(file, &about) == 0 && S_ISDIR(about.st_mode);
}

int failWith(int code) {
    errno = code;
    return -1;
}

} // namespace

ssize_t ScriptedCalls::write(int file, const char *bytes, std::size_t size) {
    return failWrite ? failWith(failWrite) : SystemPosixCalls::write(file, bytes, size);
}

int ScriptedCalls::fsync(int file) {
    const bool folder = isFolder(file);
    ++(folder ? folderFsyncs : fileFsyncs);
    const int failure = folder ? failFolderFsync : failFileFsync;
    return failure ? failWith(failure) : SystemPosixCalls::fsync(file);
}

int ScriptedCalls::rename(const std::string &from, const std::string &to) {
    return failRename ? failWith(failRename) : SystemPosixCalls::rename(from, to);
}

int ScriptedCalls::renameToFreeName(const std::string &from, const std::string &to) {
    if (beforeFreeRename) beforeFreeRename();
    return failFreeRename ? failWith(failFreeRename) : SystemPosixCalls::renameToFreeName(from, to);
}

void PosixTest::SetUp() {
    std::string pattern = ::testing::TempDir() + "qm-posix-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "mkdtemp: errno " << errno;
    folder_ = pattern;
}

void PosixTest::TearDown() {
    if (folder_.empty()) return;
    // A test may leave a folder without write or search rights: every one gets them back first.
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
    for (auto walk = std::filesystem::recursive_directory_iterator(folder_, ignored);
         walk != std::filesystem::recursive_directory_iterator(); walk.increment(ignored))
        if (walk->is_directory(ignored) && !walk->is_symlink(ignored))
            std::filesystem::permissions(walk->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder_, ignored);
}

std::string PosixTest::writeFile(const std::string &name, const std::string &bytes) const {
    const std::string at = path(name);
    std::ofstream(at, std::ios::binary) << bytes;
    return at;
}

std::string PosixTest::readFile(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> PosixTest::namesIn(const std::string &folder) {
    std::vector<std::string> names;
    if (DIR *listing = opendir(folder.c_str())) {
        while (const dirent *entry = readdir(listing))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct stat PosixTest::statOf(const std::string &path) {
    struct stat about {};
    EXPECT_EQ(lstat(path.c_str(), &about), 0) << path;
    return about;
}

bool runningAsRoot() { return geteuid() == 0; }

std::string inChild(const std::function<std::string()> &work) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "ended: no pipe";
    const pid_t child = fork();
    if (child < 0) return "ended: no fork";
    if (child == 0) {
        close(pipeEnds[0]);
        std::string answer;
        try {
            answer = work();
        } catch (const AppError &error) {
            answer = "error " + std::to_string(error.number);
        } catch (...) {
            answer = "ended: another exception";
        }
        const ssize_t written = ::write(pipeEnds[1], answer.data(), answer.size());
        _exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string answer;
    char block[256];
    for (ssize_t got; (got = read(pipeEnds[0], block, sizeof block)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        answer.append(block, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "ended: status " + std::to_string(status);
    return answer;
}

bool becomeNobody() {
    constexpr uid_t nobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0;
}
