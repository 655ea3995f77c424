// The file streams of the console program: whether a conversion changes a file, whatever way the
// converter hands its bytes back, and a destination that is its source under another spelling.
#include "app_error.h"
#include "console_fixture.h"
#include "file_run.h"
#include "stream_jobs.h"
#include "windows_file_system.h"

#include <algorithm>

namespace {

// Gives the text back a few bytes behind, and (when told) with its last byte changed or a byte added
// at the end: the comparison must not depend on how converted blocks line up with read ones.
class DelayingConverter : public StreamConverter {
public:
    enum class Change { None, LastByte, ByteAdded, LastByteDropped };
    DelayingConverter(std::size_t delay, Change change) : delay_(delay), change_(change) {}

    std::string_view convert(const char *data, std::size_t size) override {
        held_.append(data, size);
        const std::size_t give = held_.size() > delay_ ? held_.size() - delay_ : 0;
        out_ = held_.substr(0, give);
        held_.erase(0, give);
        return out_;
    }
    void finish(std::string &out) override {
        if (change_ == Change::LastByte && !held_.empty()) held_.back() ^= 1;
        if (change_ == Change::ByteAdded) held_ += '\n';
        if (change_ == Change::LastByteDropped && !held_.empty()) held_.pop_back();
        out += held_;
    }

private:
    std::size_t delay_;
    Change change_;
    std::string held_, out_;
};

class StreamJobsTest : public ConsoleFolderTest {
protected:
    SystemFileMoves moves;
    WindowsFileSystem files{moves};
};

TEST_F(StreamJobsTest, ConversionChangesFileSeesEveryDifferenceWhereverBlocksEnd) {
    using Change = DelayingConverter::Change;
    std::string big(3 * 1024 * 1024 + 17, 'x'); // several blocks of reading
    for (std::size_t i = 0; i < big.size(); i += 61) big[i] = '\n';
    for (const std::string &text : {std::string("short text"), big}) {
        const std::string file = write("in.txt", text);
        for (std::size_t delay : {0u, 1u, 5000u, 2000000u}) {
            DelayingConverter same(delay, Change::None);
            EXPECT_FALSE(conversionChangesFile(file, files, same, {})) << delay;
            for (Change change : {Change::LastByte, Change::ByteAdded, Change::LastByteDropped}) {
                if (delay == 0 && change != Change::ByteAdded) continue; // nothing held back to change
                DelayingConverter changing(delay, change);
                EXPECT_TRUE(conversionChangesFile(file, files, changing, {}))
                    << "delay " << delay << " change " << static_cast<int>(change);
            }
        }
    }
    // An empty file: only an added byte is a change.
    const std::string empty = write("empty.txt", "");
    DelayingConverter same(3, Change::None), added(3, Change::ByteAdded);
    EXPECT_FALSE(conversionChangesFile(empty, files, same, {}));
    EXPECT_TRUE(conversionChangesFile(empty, files, added, {}));
}

TEST_F(StreamJobsTest, ReadsAreCountedAndADestinationThatIsTheSourceIsRefused) {
    const std::string source = write("in.txt", "a\tb\n" + std::string(2500000, 'a'));
    ConversionMode mode;
    mode.lineEnds = LineEnds::Kept;
    const FileReading reading{ShareWrite::Denied, [mode] { return mode; }, false};
    std::size_t counted = 0;
    runOneFile({source, path("out.txt"), TextEncoding::Ansi}, reading, files,
               [&](std::size_t bytes) { counted += bytes; });
    EXPECT_EQ(counted, 2500004u);
    EXPECT_EQ(readBytes(path("out.txt")).substr(0, 12), "a       b\naa");
    EXPECT_EQ(readBytes(path("out.txt")).size(), 2500010u);

    // Another spelling of the same file: the source stays as it was.
    for (const std::string &spelling : {path("IN.TXT"), path(".\\in.txt"), path("sub\\..\\in.txt")}) {
        try {
            runOneFile({source, spelling, TextEncoding::Ansi}, reading, files);
            ADD_FAILURE() << "no refusal for " << spelling;
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, err::PathFileAccess);
        }
    }
    EXPECT_EQ(readBytes(source).substr(0, 4), "a\tb\n");
}

} // namespace
