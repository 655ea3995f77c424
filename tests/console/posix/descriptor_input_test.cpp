// Standard input over a descriptor: read to its end and kept, past the memory limit in a spill file
// that no name in any folder reaches or, redirected from a file, read again where it is; and ended at
// once by a stop however the read stands.
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

std::string allOf(const SpooledInput &spooled) {
    std::string bytes;
    spooled.replay([&](const char *data, std::size_t size) { bytes.append(data, size); });
    return bytes;
}

// A file larger than what is held in memory is read again where it is, from where the input stood:
// the spill folder is missing, so a spill would fail. The input is left at the file's end, as a reader
// leaves it. A smaller file, and a file of /proc that tells no size, are read as any input.
TEST_F(SpooledPipeTest, ARedirectedFileIsReadWhereItIsFromWhereTheInputStood) {
    std::string big(2 * 1024 * 1024 + 123, 'q'); // past a read block
    for (std::size_t i = 0; i < big.size(); i += 89) big[i] = '\t';
    const struct {
        std::string bytes;
        off_t from;
        std::size_t limit;
        std::string rest;
    } cases[] = {{"skip me\nline\tone\r\nline two\t\n", 8, 4, "line\tone\r\nline two\t\n"},
                 {"skip me\nline\tone\r\nline two\t\n", 8, 20, "line\tone\r\nline two\t\n"}, // held
                 {"a\tb", 3, 0, ""},
                 {"ab" + big, 2, 1536 * 1024, big}};
    UnlinkedSpillFiles noSpill(path("no such folder"));
    for (const auto &each : cases) {
        write("in.txt", each.bytes);
        const int file = open(path("in.txt").c_str(), O_RDONLY);
        ASSERT_EQ(lseek(file, each.from, SEEK_SET), each.from);
        DescriptorInput input(file, -1);
        const SpooledInput spooled(input, each.limit, noSpill);
        EXPECT_EQ(spooled.size(), each.rest.size());
        EXPECT_EQ(allOf(spooled), each.rest) << each.bytes.size() << " bytes from " << each.from;
        EXPECT_EQ(allOf(spooled), each.rest) << "read again";
        EXPECT_EQ(lseek(file, 0, SEEK_CUR), static_cast<off_t>(each.bytes.size()));
        close(file);
    }

    const int status = open("/proc/self/status", O_RDONLY);
    ASSERT_GE(status, 0);
    DescriptorInput input(status, -1);
    EXPECT_EQ(allOf(SpooledInput(input, 1024 * 1024, noSpill)).rfind("Name:", 0), 0u);
    close(status);
}

// A redirected file that another program cuts short before it is read again is no whole text.
TEST_F(SpooledPipeTest, ARedirectedFileCutShortMeanwhileFailsAsANamedFileDoes) {
    write("in.txt", std::string(3000, 'x'));
    const int file = open(path("in.txt").c_str(), O_RDONLY);
    DescriptorInput input(file, -1);
    UnlinkedSpillFiles noSpill(path("no such folder"));
    const SpooledInput spooled(input, 100, noSpill);
    ASSERT_EQ(truncate(path("in.txt").c_str(), 1000), 0);
    try {
        allOf(spooled);
        ADD_FAILURE() << "a shortened file read as whole";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, err::InputPastEnd);
    }
    close(file);
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
