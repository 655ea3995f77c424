// Standard input kept to be read again: in memory up to its limit, the rest in a temporary file that
// is gone once the input is.
#include "console/handle_input.h"
#include "console_fixture.h"
#include "spooled_input.h"

#include <thread>

namespace {

class SpooledInputTest : public ConsoleFolderTest {
protected:
    // The input read from a pipe that a second thread writes and then closes.
    std::string replayedThroughPipe(const std::string &bytes, std::size_t limit, int &spillFiles) {
        HANDLE reading = nullptr, writing = nullptr;
        EXPECT_TRUE(CreatePipe(&reading, &writing, nullptr, 0));
        std::thread writer([&] {
            for (std::size_t at = 0; at < bytes.size(); at += 70000) {
                DWORD wrote = 0;
                const auto size = static_cast<DWORD>(std::min<std::size_t>(70000, bytes.size() - at));
                WriteFile(writing, bytes.data() + at, size, &wrote, nullptr);
            }
            CloseHandle(writing);
        });
        std::string first, second;
        {
            HandleInput standardInput(reading);
            TemporarySpillFiles spill(folder_);
            const SpooledInput input(standardInput, limit, spill);
            writer.join();
            CloseHandle(reading);
            EXPECT_EQ(input.size(), bytes.size());
            input.replay([&](const char *data, std::size_t size) { first.append(data, size); });
            input.replay([&](const char *data, std::size_t size) { second.append(data, size); });
            spillFiles = filesInFolder();
        }
        EXPECT_EQ(first, second);
        EXPECT_EQ(filesInFolder(), 0) << "the temporary file outlived the input";
        return first;
    }

    int filesInFolder() const { return static_cast<int>(namesMatching(folder_ + "*").size()); }
};

TEST_F(SpooledInputTest, ComesBackWholeOnEveryReadWhereverTheLimitCutsIt) {
    std::string big(2 * 1024 * 1024 + 123, 'q'); // past a read block on both sides of the limit
    for (std::size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>(i % 251);
    const struct {
        std::string bytes;
        std::size_t limit;
        int spillFiles;
    } cases[] = {
        {"", 10, 0},
        {"ten bytes!", 10, 0},
        {"eleven byte", 10, 1},
        {std::string("\0\x1a\r\n\t\xff", 6) + std::string(40, 'x'), 4, 1},
        {big, 1536 * 1024, 1},
        {big, 0, 1},
        {big, SpooledInput::usualMemoryLimit, 0},
    };
    for (const auto &each : cases) {
        int spillFiles = -1;
        EXPECT_EQ(replayedThroughPipe(each.bytes, each.limit, spillFiles), each.bytes)
            << each.bytes.size() << " bytes, limit " << each.limit;
        EXPECT_EQ(spillFiles, each.spillFiles) << each.bytes.size() << " bytes, limit " << each.limit;
    }
}

std::string allOf(const SpooledInput &input) {
    std::string bytes;
    input.replay([&](const char *data, std::size_t size) { bytes.append(data, size); });
    return bytes;
}

std::uint64_t positionOf(HANDLE file) {
    LARGE_INTEGER position{};
    EXPECT_TRUE(SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT));
    return static_cast<std::uint64_t>(position.QuadPart);
}

// A file that standard input is redirected from, past what is held in memory, is read again where it
// is from where the input stood, through a handle of its own that keeps writers out (but not a
// replacement) while the input is kept: no temporary file is made (its folder is missing), and the input is
// left at the file's end as a reader leaves it. A smaller file is read as any input.
TEST_F(SpooledInputTest, ARedirectedFileIsReadWhereItIsWithWritersKeptOut) {
    std::string big(2 * 1024 * 1024 + 123, 'q'); // past a read block
    for (std::size_t i = 0; i < big.size(); i += 89) big[i] = '\t';
    write("in.txt", "ab" + big);
    write("small.txt", "ab\tc");
    TemporarySpillFiles noSpill(path("no such folder\\"));
    const struct {
        const char *name;
        std::size_t limit;
        std::string rest;
    } cases[] = {{"in.txt", 1536 * 1024, big}, {"small.txt", 100, "\tc"}};
    for (const auto &each : cases) {
        HANDLE file = CreateFileA(path(each.name).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER two{};
        two.QuadPart = 2;
        ASSERT_TRUE(SetFilePointerEx(file, two, nullptr, FILE_BEGIN));
        {
            HandleInput standardInput(file);
            const SpooledInput input(standardInput, each.limit, noSpill);
            EXPECT_EQ(input.size(), each.rest.size());
            EXPECT_EQ(allOf(input), each.rest) << each.name;
            EXPECT_EQ(allOf(input), each.rest) << each.name << " read again";
            EXPECT_EQ(positionOf(file), 2 + each.rest.size()) << each.name;
            HANDLE writer =
                CreateFileA(path(each.name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
            const bool keptOut = writer == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
            EXPECT_EQ(keptOut, each.rest == big) << each.name;
            if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
            // Replacing it stays allowed (quillmerec -o FILE < FILE): Windows asks delete access of it.
            HANDLE replacer = CreateFileA(path(each.name).c_str(), DELETE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(replacer, INVALID_HANDLE_VALUE) << each.name;
            if (replacer != INVALID_HANDLE_VALUE) CloseHandle(replacer);
        }
        CloseHandle(file);
    }
    EXPECT_EQ(filesInFolder(), 2);
}

// A console hands over what was typed a line at a time, and takes reads of at most 16 KiB; from
// Windows 8 a read that Ctrl+C interrupts ends with no bytes and ERROR_OPERATION_ABORTED. Wine's
// console does neither, so the reads give what the console would.
class TypedLines : public HandleInput {
public:
    explicit TypedLines(std::vector<std::string> lines, bool endsByCtrlC)
        : HandleInput(nullptr, true), lines_(std::move(lines)), endsByCtrlC_(endsByCtrlC) {}
    std::vector<DWORD> sizes;

protected:
    bool readPiece(char *into, DWORD size, DWORD &got, DWORD &error) override {
        sizes.push_back(size);
        if (next_ == lines_.size()) {
            got = 0;
            if (!endsByCtrlC_) return true; // Ctrl+Z: the end of typed input
            error = ERROR_OPERATION_ABORTED;
            return false;
        }
        const std::string &line = lines_[next_++];
        got = static_cast<DWORD>(std::min<std::size_t>(size, line.size()));
        std::copy(line.data(), line.data() + got, into);
        return true;
    }

private:
    std::vector<std::string> lines_;
    bool endsByCtrlC_;
    std::size_t next_ = 0;
};

TEST_F(SpooledInputTest, TypedInputIsReadInConsolePiecesAndCtrlCLeavesNoInput) {
    TemporarySpillFiles spillFiles(folder_);
    TypedLines typed({"one\tline\r\n", "two\r\n"}, false);
    const SpooledInput input(typed, SpooledInput::usualMemoryLimit, spillFiles);
    std::string bytes;
    input.replay([&](const char *data, std::size_t size) { bytes.append(data, size); });
    EXPECT_EQ(bytes, "one\tline\r\ntwo\r\n");
    EXPECT_EQ(typed.sizes, (std::vector<DWORD>{16384, 16384, 16384}));

    TypedLines cut({"half a li"}, true);
    EXPECT_THROW(SpooledInput(cut, SpooledInput::usualMemoryLimit, spillFiles), InputInterrupted);
    EXPECT_EQ(filesInFolder(), 0);
}

} // namespace
