// The progress line: when it appears, what it says, and that it leaves nothing on the screen.
#include "progress_line.h"
#include "recorded_output.h"

#include <gtest/gtest.h>

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

class ProgressLineTest : public ::testing::Test {
protected:
    std::string drawn() const { return stream_.written; }

    RecordedOutput stream_;
    std::uint64_t now_ = 5000;
};

TEST_F(ProgressLineTest, AppearsAfterASecondRedrawsInPlaceAndIsWipedAtTheEnd) {
    ProgressLine progress(&stream_, [&] { return now_; });
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

// A line longer than the terminal is wide would wrap, and its carriage return would go back to the
// start of the second row only: it is cut short of the last column.
TEST_F(ProgressLineTest, IsCutShortOfTheTerminalsLastColumn) {
    stream_.width = 30;
    ProgressLine progress(&stream_, [&] { return now_; });
    progress.startStep("Converting", 12);
    now_ += 1000;
    progress.bytesDone(3 << 20);
    EXPECT_EQ(drawn(), "\rConverting: 0 of 12 files, 3."); // 29 columns of "..., 3.00 MB, 3.00 MB/s"
    progress.wipe();
    EXPECT_EQ(drawn().substr(30), "\r" + std::string(29, ' ') + "\r");

    stream_.written.clear();
    stream_.width = 1; // no room at all: the line as it is
    progress.startStep("Checking", 1);
    EXPECT_EQ(drawn(), "\rChecking: 0 of 1 file, 0 B");
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
