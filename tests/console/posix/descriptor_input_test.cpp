// Standard input over a descriptor: read to its end and kept, past the memory limit in a spill file
// that no name in any folder reaches, and ended at once by a stop however the read stands.
#include "console/descriptor_input.h"
#include "platform_files.h"
#include "spooled_input.h"

#include "app_error.h"

#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int ends[2];
        if (::pipe(ends) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read >= 0) close(read);
        read = -1;
    }
    void closeWrite() {
        if (write >= 0) close(write);
        write = -1;
    }
};

class SpooledPipeTest : public PortableFilesTest {};

TEST_F(SpooledPipeTest, ComesBackWholeOnEveryReadWhereverTheLimitCutsItAndNoFileIsSeen) {
    std::string big(2 * 1024 * 1024 + 123, 'q'); // past a read block on both sides of the limit
    for (std::size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>(i % 251);
    const struct {
        std::string bytes;
        std::size_t limit;
    } cases[] = {{"", 10},
                 {"ten bytes!", 10},
                 {"eleven byte", 10},
                 {std::string("\0\x1a\r\n\t\xff", 6) + std::string(40, 'x'), 4},
                 {big, 1536 * 1024},
                 {big, 0},
                 {big, SpooledInput::usualMemoryLimit}};
    for (const auto &each : cases) {
        Pipe pipe;
        std::thread writer([&] {
            for (std::size_t at = 0; at < each.bytes.size();) {
                const ssize_t wrote = ::write(pipe.write, each.bytes.data() + at,
                                              std::min<std::size_t>(70000, each.bytes.size() - at));
                if (wrote <= 0) break;
                at += static_cast<std::size_t>(wrote);
            }
            pipe.closeWrite();
        });
        DescriptorInput input(pipe.read, -1);
        UnlinkedSpillFiles spill(path(""));
        const SpooledInput spooled(input, each.limit, spill);
        writer.join();
        EXPECT_EQ(spooled.size(), each.bytes.size());
        std::string first, second;
        spooled.replay([&](const char *data, std::size_t size) { first.append(data, size); });
        spooled.replay([&](const char *data, std::size_t size) { second.append(data, size); });
        EXPECT_EQ(first, each.bytes) << each.bytes.size() << " bytes, limit " << each.limit;
        EXPECT_EQ(second, each.bytes) << each.bytes.size() << " bytes, limit " << each.limit;
        EXPECT_TRUE(std::filesystem::is_empty(path(""))) << "the spill file has a name";
    }
}

TEST_F(SpooledPipeTest, ASpillFileThatCannotBeMadeIsTheProgramsError) {
    Pipe pipe;
    ASSERT_EQ(::write(pipe.write, "more than none", 14), 14);
    pipe.closeWrite();
    DescriptorInput input(pipe.read, -1);
    UnlinkedSpillFiles spill(path("no such folder"));
    try {
        SpooledInput(input, 4, spill);
        ADD_FAILURE() << "no spill file, and no error";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::PathNotFound);
    }
}

// A stop asked before the read, or while it waits for input that does not come, ends it: the wait is
// on both descriptors, so a signal taken by any thread ends it.
TEST(DescriptorInputStop, AStopEndsAReadThatWaitsOrIsAboutToWait) {
    Pipe input, stop;
    ASSERT_EQ(::write(input.write, "half a li", 9), 9);
    DescriptorInput reader(input.read, stop.read);
    char block[64];
    EXPECT_EQ(reader.read(block, sizeof block), 9u);

    std::thread stopper([&] { ASSERT_EQ(::write(stop.write, "s", 1), 1); });
    EXPECT_THROW(reader.read(block, sizeof block), InputInterrupted); // waits until the stop comes
    stopper.join();
    // Once asked, a stop stays asked, also with input waiting.
    ASSERT_EQ(::write(input.write, "ne", 2), 2);
    EXPECT_THROW(reader.read(block, sizeof block), InputInterrupted);

    // Without a stop, a closed pipe is the end of the input.
    Pipe plain;
    plain.closeWrite();
    DescriptorInput ended(plain.read, -1);
    EXPECT_EQ(ended.read(block, sizeof block), 0u);
}

TEST(DescriptorInputStop, AReadThatFailsIsTheProgramsError) {
    const int folder = open("/", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    DescriptorInput reader(folder, -1);
    char block[16];
    EXPECT_THROW(reader.read(block, sizeof block), AppError); // EISDIR
    close(folder);
}

} // namespace
