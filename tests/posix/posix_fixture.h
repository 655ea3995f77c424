// The common ground of the POSIX layer's tests: real files in a fresh folder of each test's own, the
// system's calls with the failures a test asks for, and work run in a child process for what must not
// touch the test's own process (another user's rights, mounts of its own).
#pragma once

#include "child_process.h"
#include "posix_calls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

// The system's calls, each failing with the errno a test sets (0: the real call), and counted.
class ScriptedCalls : public SystemPosixCalls {
public:
    int failWrite = 0;
    int failFileFsync = 0;   // of a regular file
    int failFolderFsync = 0; // of a folder
    int failRename = 0;
    int failFreeRename = 0;
    std::atomic<int> fileFsyncs{0}, folderFsyncs{0};
    // Called before the rename to a free name, as another program making a file meanwhile would.
    std::function<void()> beforeFreeRename;

    ssize_t write(int file, const char *bytes, std::size_t size) override;
    int fsync(int file) override;
    int rename(const std::string &from, const std::string &to) override;
    int renameToFreeName(const std::string &from, const std::string &to) override;
};

class PosixTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // This test's own folder, without a trailing '/'; path() is a name in it.
    const std::string &folder() const { return folder_; }
    std::string path(const std::string &name) const { return folder_ + "/" + name; }
    std::string writeFile(const std::string &name, const std::string &bytes) const;
    static std::string readFile(const std::string &path);
    // The folder's entries, "." and ".." left out, sorted.
    static std::vector<std::string> namesIn(const std::string &folder);
    std::vector<std::string> names() const { return namesIn(folder_); }
    static struct stat statOf(const std::string &path);

private:
    std::string folder_;
};
