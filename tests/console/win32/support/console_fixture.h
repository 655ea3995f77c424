// A test of the console program's pieces over real files in a fresh folder of its own.
#pragma once

#include "test_state.h"
#include "win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ConsoleFolderTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = freshTestFolder("qmc-"); }
    void TearDown() override { removeTree(folder_.substr(0, folder_.size() - 1)); }

    // A path in this test's folder (which ends in a backslash).
    std::string path(const std::string &name) const { return folder_ + name; }
    // Writes a file, making the folders of its name first.
    std::string write(const std::string &name, const std::string &bytes) const {
        for (std::size_t slash = name.find('\\'); slash != std::string::npos;
             slash = name.find('\\', slash + 1))
            CreateDirectoryW(wideOf(folder_ + name.substr(0, slash)).c_str(), nullptr);
        writeBytes(path(name), bytes);
        return path(name);
    }
    bool exists(const std::string &name) const {
        return GetFileAttributesW(wideOf(path(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string folder_;
};
