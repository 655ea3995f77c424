#include "posix_fixture.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <sstream>
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
