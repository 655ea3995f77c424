// Standard output and standard error as the program writes them: in console-sized pieces on a
// console, in large blocks elsewhere, and never a message that stops the run.
#include "console/console_stream.h"
#include "console_fixture.h"

#include "app_error.h"

#include <numeric>

namespace {

// The stream over a handle taken as a console or not, recording the pieces the system would be
// given, and failing from a given piece on with a given error (what Windows 7's console and a pipe
// whose reader has gone do, and Wine does not).
class RecordedStream : public ConsoleStream {
public:
    RecordedStream(bool console, std::size_t failFrom = SIZE_MAX, DWORD failure = 0)
        : ConsoleStream(reinterpret_cast<HANDLE>(0x1234), console), failFrom_(failFrom), failure_(failure) {}

    std::vector<DWORD> bytePieces, widePieces;
    std::string bytes;
    std::wstring wide;

protected:
    bool writeBytePiece(const char *data, DWORD size, DWORD &written, DWORD &error) override {
        bytePieces.push_back(size);
        if (failing()) return fail(error);
        bytes.append(data, size);
        written = size;
        return true;
    }
    bool writeConsolePiece(const wchar_t *data, DWORD size, DWORD &written, DWORD &error) override {
        widePieces.push_back(size);
        if (failing()) return fail(error);
        wide.append(data, size);
        written = size;
        return true;
    }

private:
    bool failing() const { return bytePieces.size() + widePieces.size() > failFrom_; }
    bool fail(DWORD &error) const {
        error = failure_;
        return false;
    }
    std::size_t failFrom_;
    DWORD failure_;
};

std::string letters(std::size_t size) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
    return text;
}

// Windows 7's console fails a write of more than about 64 KB with "not enough memory".
TEST(ConsoleStreamPieces, AConsoleIsWrittenInPiecesOf16KiBAndAPipeInBlocksOf1MiB) {
    const std::string big = letters(3 * 1024 * 1024 + 5);
    RecordedStream console(true);
    console.writeBytes(big);
    EXPECT_EQ(console.bytes, big);
    EXPECT_EQ(console.bytePieces.size(), 193u); // 192 whole pieces and 5 bytes
    EXPECT_EQ(*std::max_element(console.bytePieces.begin(), console.bytePieces.end()), 16384u);
    EXPECT_EQ(console.bytePieces.back(), 5u);

    const std::string text = letters(20000);
    console.writeText(text);
    EXPECT_EQ(console.wide, std::wstring(text.begin(), text.end()));
    EXPECT_EQ(console.widePieces, (std::vector<DWORD>{8192, 8192, 3616})); // 16 KiB of UTF-16

    RecordedStream pipe(false);
    pipe.writeBytes(big);
    EXPECT_EQ(pipe.bytes, big);
    EXPECT_EQ(pipe.bytePieces, (std::vector<DWORD>{1048576, 1048576, 1048576, 5}));
    pipe.writeText(text);
    EXPECT_TRUE(pipe.widePieces.empty()); // UTF-8 bytes into a pipe or a file
    EXPECT_EQ(pipe.bytes.size(), big.size() + text.size());
}

TEST(ConsoleStreamFailures, AFailedMessageIsReportedOnceAndNeverThrows) {
    RecordedStream closed(false, 0, ERROR_NO_DATA);
    EXPECT_FALSE(closed.writeText("quillmerec: a.txt: not found\r\n"));
    EXPECT_TRUE(closed.failed());
    EXPECT_TRUE(closed.readerGone());
    EXPECT_FALSE(closed.writeText("quillmerec: b.txt: not found\r\n"));
    EXPECT_EQ(closed.bytePieces.size(), 1u); // not tried again
    EXPECT_THROW(closed.writeBytes("converted"), AppError);

    RecordedStream console(true, 0, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_FALSE(console.writeText("message"));
    EXPECT_FALSE(console.readerGone());

    // A pipe that breaks in the middle of converted text fails that write with the program's error.
    RecordedStream broken(false, 1, ERROR_BROKEN_PIPE);
    try {
        broken.writeBytes(letters(2 * 1024 * 1024));
        ADD_FAILURE() << "the write did not fail";
    } catch (const AppError &) {
    }
    EXPECT_TRUE(broken.readerGone());
    EXPECT_EQ(broken.bytes.size(), 1048576u);

    // A disk that takes no bytes is full.
    RecordedStream full(false, 0, ERROR_DISK_FULL);
    try {
        full.writeBytes("x");
        ADD_FAILURE() << "the write did not fail";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::DiskFull);
    }
    EXPECT_FALSE(full.readerGone());
}

} // namespace
