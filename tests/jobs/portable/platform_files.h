// The jobs' tests that hold on every platform: real files in a fresh folder of their own, reached
// through the platform's own FileSystem (Windows' under Wine, POSIX natively).
#pragma once

#include "file_system.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The platform's file system with its own system calls.
std::unique_ptr<FileSystem> platformFileSystem();

// The separator of the platform's paths.
extern const char pathSeparator;

class PortableFilesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the test's folder ("sub/a.txt" is written with the platform's separator).
    std::string path(const std::string &name) const;
    std::string write(const std::string &name, const std::string &bytes) const;
    std::string read(const std::string &name) const;
    bool exists(const std::string &name) const;
    // The names in a folder of the test's that the program made for itself ("~qm...").
    std::vector<std::string> ownFilesIn(const std::string &folder = "") const;

    std::unique_ptr<FileSystem> files = platformFileSystem();

private:
    std::string folder_;
};
