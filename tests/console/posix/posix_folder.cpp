#include "posix_folder.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int removeEntry(const char *path, const struct stat *, int, FTW *) { return remove(path); }

} // namespace

void PosixFolderTest::SetUp() {
    const char *temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/qmc-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
}

void PosixFolderTest::TearDown() {
    // A test may have taken its rights away from a folder; they come back so that it can go.
    nftw(
        folder_.c_str(),
        [](const char *path, const struct stat *status, int type, FTW *) {
            if (type == FTW_D || type == FTW_DNR) chmod(path, 0700);
            (void)status;
            return 0;
        },
        16, FTW_PHYS);
    nftw(folder_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string PosixFolderTest::write(const std::string &name, const std::string &bytes) const {
    for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1))
        mkdir(path(name.substr(0, slash)).c_str(), 0700);
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
}

std::string PosixFolderTest::read(const std::string &name) const {
    std::ifstream file(path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool PosixFolderTest::exists(const std::string &name) const {
    struct stat status {};
    return lstat(path(name).c_str(), &status) == 0;
}

void PosixFolderTest::makeFolder(const std::string &name) const { mkdir(path(name).c_str(), 0700); }

std::vector<std::string> PosixFolderTest::namesIn(const std::string &name) const {
    std::vector<std::string> names;
    DIR *folder = opendir((name.empty() ? folder_ : path(name)).c_str());
    if (!folder) return names;
    while (const dirent *entry = readdir(folder)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != "..") names.push_back(entryName);
    }
    closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}
