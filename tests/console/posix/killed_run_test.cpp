// The native quillmerec killed outright (SIGKILL: no handler, nothing tidied) at many moments of a run
// in place over 200 files: while it reads them through, while it writes a large file's replacement, and
// right after a file went in place. After each kill every file holds its former text whole or its new
// text whole, under its own name, and the next run makes every one new and leaves nothing of its own.
#include "native_program.h"
#include "platform_files.h"

#include <csignal>
#include <sys/inotify.h>

namespace {

constexpr int fileCount = 200;

std::string fileName(int file) {
    char name[16];
    std::snprintf(name, sizeof name, "f%03d.txt", file);
    return name;
}

// Four files span several of the 1 MiB blocks that a source is read in (1.3 to 3.2 MiB); the others
// are a few lines to a few kilobytes.
int linesOf(int file) {
    switch (file) {
    case 17: return 70000;
    case 71: return 110000;
    case 123: return 160000;
    case 181: return 95000;
    default: return 1 + file * 37 % 300;
    }
}

// Each line names its file, so a text that went to another file's name is told apart too.
std::string textOf(int file, const std::string &indent) {
    std::string text;
    const std::string head = indent + "file " + std::to_string(file) + " line ";
    for (int line = 0; line < linesOf(file); ++line) text += head + std::to_string(line) + "\n";
    return text;
}

struct KillPoint {
    enum class After {
        Read,    // the file was read through by the pass that checks every input first
        Writing, // bytes of the file's new text were written, under its name or the program's own
        Changed, // the file under its own name was changed, or another put in its place
    } after;
    int file;
};

std::string describe(const KillPoint &point) {
    const char *what = point.after == KillPoint::After::Read      ? "read"
                       : point.after == KillPoint::After::Writing ? "being written"
                                                                  : "changed";
    return "killed once " + fileName(point.file) + " was " + what;
}

// The moment of the kill as an event of the folder.
bool reached(const KillPoint &point, std::uint32_t event, std::string_view name) {
    const std::string file = fileName(point.file);
    switch (point.after) {
    case KillPoint::After::Read: return (event & IN_CLOSE_NOWRITE) && name == file;
    case KillPoint::After::Writing:
        // "f017.txt" itself, or a file of the program's own that carries its name ("~qm...f017.txt.tmp").
        return (event & IN_MODIFY) && (name == file || name.find("." + file + ".") != std::string_view::npos);
    case KillPoint::After::Changed:
        return (event & (IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE)) && name == file;
    }
    return false;
}

class KilledRun : public PortableFilesTest {
protected:
    void SetUp() override {
        PortableFilesTest::SetUp();
        for (int file = 0; file < fileCount; ++file) {
            before.push_back(textOf(file, "\t"));
            after.push_back(textOf(file, "        "));
        }
    }

    std::vector<std::string> before, after;
};

TEST_F(KilledRun, EveryFileIsWholeAfterAKillAnywhereAndTheNextRunPutsAllRight) {
    using After = KillPoint::After;
    const std::vector<KillPoint> points = {
        {After::Read, 0},      {After::Read, 66},     {After::Read, 133},    {After::Read, 199},
        {After::Writing, 17},  {After::Writing, 71},  {After::Writing, 123}, {After::Writing, 181},
        {After::Changed, 0},   {After::Changed, 9},   {After::Changed, 17},  {After::Changed, 30},
        {After::Changed, 45},  {After::Changed, 60},  {After::Changed, 71},  {After::Changed, 85},
        {After::Changed, 100}, {After::Changed, 112}, {After::Changed, 123}, {After::Changed, 137},
        {After::Changed, 150}, {After::Changed, 160}, {After::Changed, 170}, {After::Changed, 181},
    };
    const std::vector<std::string> run = {"--in-place", "-q", path("in")};
    for (const KillPoint &point : points) {
        SCOPED_TRACE(describe(point));
        for (int file = 0; file < fileCount; ++file) write("in/" + fileName(file), before[file]);
        FolderWatch watch(path("in"), IN_CLOSE_NOWRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE);
        bool seen = false;
        const NativeResult killed = runNative(
            {.arguments = run, .whileRunning = [&](pid_t program) {
                 seen = watch.waitFor(
                     [&](std::uint32_t event, std::string_view name) { return reached(point, event, name); },
                     20000);
                 kill(program, SIGKILL);
             }});
        ASSERT_TRUE(seen) << "the moment never came";
        ASSERT_EQ(killed.signal, SIGKILL) << "the run was over before the kill: " << killed.errors;

        for (int file = 0; file < fileCount; ++file) {
            const std::string text = read("in/" + fileName(file));
            EXPECT_TRUE(text == before[file] || text == after[file])
                << fileName(file) << " is neither its former text nor its new one whole (" << text.size()
                << " bytes)";
            // Files go in place in the order of the run, each in one step.
            if (point.after == After::Changed && file <= point.file)
                EXPECT_TRUE(text == after[file]) << fileName(file) << " was in place before the kill";
        }

        const NativeResult next = runNative({.arguments = run});
        EXPECT_EQ(next.exitCode, 0) << next.errors;
        EXPECT_EQ(next.errors, "");
        for (int file = 0; file < fileCount; ++file)
            EXPECT_TRUE(read("in/" + fileName(file)) == after[file])
                << fileName(file) << " after the next run";
        EXPECT_EQ(ownFilesIn("in"), std::vector<std::string>{});
        if (HasFailure()) return; // one kill's failures say enough
    }
}

} // namespace
