// The write probe of a destination folder: what it tells, and what it leaves behind.
#include "win_fixture.h"

#include "write_probe.h"

namespace {

class WriteProbe : public WinTest {
protected:
    int filesIn(const std::string &folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        int files = 0;
        if (search == INVALID_HANDLE_VALUE) return 0;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return files;
    }
};

TEST_F(WriteProbe, WritableFolderIsLeftAsItWas) {
    EXPECT_EQ(probeFolderForWriting(temp()), ProbeResult::Writable);
    EXPECT_EQ(probeFolderForWriting(temp().substr(0, temp().size() - 1)), ProbeResult::Writable);
    EXPECT_EQ(filesIn(temp()), 0);
}

TEST_F(WriteProbe, ExistingTestFileIsNeitherOpenedNorRemoved) {
    const std::string probe = writeFile("test.txt", "mine\r\n");
    // Held open without sharing by someone else: the probe must not even need it.
    HANDLE held = CreateFileA(probe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(probeFolderForWriting(temp()), ProbeResult::Writable);
    CloseHandle(held);
    EXPECT_EQ(readFile(probe), "mine\r\n");
    EXPECT_EQ(filesIn(temp()), 1);
}

TEST_F(WriteProbe, MissingFolderIsNotARefusal) {
    EXPECT_EQ(probeFolderForWriting(temp() + "absent"), ProbeResult::OtherFailure);
    EXPECT_EQ(probeFolderForWriting("Waiting ..."), ProbeResult::OtherFailure);
}

} // namespace
