// A fresh folder of a native test's own in the temporary folder, removed with everything in it at the
// end; files are written and read by their bytes, so that any name works.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

class PosixFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in this test's folder (which does not end in a slash).
    std::string path(const std::string &name) const { return folder_ + "/" + name; }
    // Writes a file, making the folders of its name first; gives its path.
    std::string write(const std::string &name, const std::string &bytes) const;
    std::string read(const std::string &name) const;
    bool exists(const std::string &name) const;
    void makeFolder(const std::string &name) const;
    // The names in one of this test's folders ("" for the test's own), in byte order.
    std::vector<std::string> namesIn(const std::string &name = "") const;

    std::string folder_;
};
