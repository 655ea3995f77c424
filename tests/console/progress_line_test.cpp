// The progress line: when it appears, what it says, and that it leaves nothing on the screen.
#include "console_fixture.h"
#include "console_stream.h"
#include "progress_line.h"

namespace {

TEST(ByteSizeText, ReadsAsPeopleReadSizes) {
    EXPECT_EQ(byteSizeText(0), "0 B");
    EXPECT_EQ(byteSizeText(1023), "1023 B");
    EXPECT_EQ(byteSizeText(1024), "1.00 KB");
    EXPECT_EQ(byteSizeText(1536), "1.50 KB");
    EXPECT_EQ(byteSizeText(10 * 1024), "10.0 KB");
    EXPECT_EQ(byteSizeText(5u << 20), "5.00 MB");
    EXPECT_EQ(byteSizeText(1536ull << 20), "1.50 GB");
    EXPECT_EQ(byteSizeText(3ull << 40), "3.00 TB");
    EXPECT_EQ(byteSizeText(2048ull << 40), "2048.0 TB");
}

class ProgressLineTest : public ConsoleFolderTest {
protected:
    void SetUp() override {
        ConsoleFolderTest::SetUp();
        file_ = CreateFileW(wideOf(path("err.txt")).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_NEW, 0, nullptr);
    }
    void TearDown() override {
        CloseHandle(file_);
        ConsoleFolderTest::TearDown();
    }
    std::string drawn() const { return readBytes(path("err.txt")); }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::uint64_t now_ = 5000;
};

TEST_F(ProgressLineTest, AppearsAfterASecondRedrawsInPlaceAndIsWipedAtTheEnd) {
    ConsoleStream stream(file_);
    ProgressLine progress(&stream, [&] { return now_; });
    progress.startStep("Verifying", 3);
    progress.bytesDone(1 << 20);
    now_ += 999;
    progress.fileDone();
    EXPECT_EQ(drawn(), ""); // a short run shows nothing

    now_ += 1;
    progress.bytesDone(1 << 20);
    EXPECT_EQ(drawn(), "\rVerifying: 1 of 3 files, 2.00 MB, 2.00 MB/s");
    now_ += 100; // too soon to draw again
    progress.fileDone();
    EXPECT_EQ(drawn(), "\rVerifying: 1 of 3 files, 2.00 MB, 2.00 MB/s");

    now_ += 100;
    progress.startStep("Converting", 1);
    now_ += 250;
    progress.bytesDone(512);
    // The new line is two characters shorter than the old one: two blanks cover what would be left.
    const std::string first = "\rVerifying: 1 of 3 files, 2.00 MB, 2.00 MB/s";
    const std::string second = "\rConverting: 0 of 1 file, 512 B, 2.00 KB/s  ";
    EXPECT_EQ(drawn(), first + second);

    progress.wipe();
    EXPECT_EQ(drawn(), first + second + "\r" + std::string(41, ' ') + "\r");
    progress.wipe(); // nothing shown, nothing to wipe
    EXPECT_EQ(drawn().size(), first.size() + second.size() + 43);
}

TEST_F(ProgressLineTest, DrawsNothingWithoutAStream) {
    ProgressLine progress(nullptr, [&] { return now_; });
    progress.startStep("Converting", 2);
    now_ += 5000;
    progress.bytesDone(100);
    progress.wipe();
    EXPECT_EQ(progress.text(), "Converting: 0 of 2 files, 100 B, 20 B/s");
}

} // namespace
