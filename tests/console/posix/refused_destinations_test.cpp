// The native quillmerec where the system refuses what it writes: a disk that fills up (a small tmpfs of
// the test's own), a file or a folder without write permission. Each destination it cannot make is
// named with its reason and left as it was, and nothing of the program's own stays beside it.
#include "child_process.h"
#include "native_program.h"
#include "platform_files.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class RefusedDestinations : public PortableFilesTest {
protected:
    // The names in a folder of the test's, in name order, with each file's bytes ("a.txt=...;"), or
    // their number where there are many ("b.txt=1048576 bytes;").
    std::string contentsOf(const std::string &folder) const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string contents;
        for (const std::string &name : names) {
            const std::string bytes = read(folder + "/" + name);
            contents +=
                name + "=" + (bytes.size() <= 64 ? bytes : std::to_string(bytes.size()) + " bytes") + ";";
        }
        return contents;
    }

    // The run as a user whom permission bits bind: the test's own, or where the test runs as root, the
    // "nobody" user in a child, given the folders and files named first so that only their bits refuse.
    NativeResult runBoundByPermissions(const NativeRun &run, const std::vector<std::string> &givenToNobody) {
        if (!runningAsRoot()) return runNative(run);
        for (const std::string &name : givenToNobody) {
            EXPECT_EQ(lchown(path(name).c_str(), nobodyUser, nobodyUser), 0) << name;
        }
        const std::string answer = inChild([&] {
            if (!becomeNobody()) return std::string("cannot become nobody");
            const NativeResult result = runNative(run);
            return std::to_string(result.exitCode) + "|" + result.errors;
        });
        NativeResult result;
        const std::size_t bar = answer.find('|');
        if (bar == std::string::npos) {
            result.errors = answer;
            return result;
        }
        result.exitCode = std::stoi(answer.substr(0, bar));
        result.errors = answer.substr(bar + 1);
        return result;
    }
};

// A 256 KiB disk: the two files of a megabyte do not fit, the small ones do, before and after them.
TEST_F(RefusedDestinations, AFullDiskFailsTheFilesThatDoNotFitAndLeavesTheirDestinationsAsTheyWere) {
    if (!runningAsRoot()) GTEST_SKIP() << "mounting a small disk of the test's own needs root";
    std::string large;
    while (large.size() < (1u << 20)) large += "\tlarge\n";
    write("in/a.txt", "\ta\n");
    write("in/b.txt", large);
    write("in/c.txt", large);
    write("in/d.txt", "\td\n");
    std::filesystem::create_directories(path("out"));
    const std::string answer = inChild([&]() -> std::string {
        if (const std::string refused = mountSmallDisk(path("out"), "256k"); !refused.empty())
            return "skip: " + refused;
        write("out/a.txt", "old a\n");
        write("out/b.txt", "old b\n");
        const NativeResult result = runNative({.arguments = {"-o", path("out"), path("in")}});
        return std::to_string(result.exitCode) + "|" + result.errors + "|" + contentsOf("out");
    });
    if (answer.rfind("skip: ", 0) == 0) GTEST_SKIP() << answer.substr(6);
    EXPECT_EQ(answer, "1|quillmerec: " + path("out/b.txt") + ": disk full\n" +
                          "quillmerec: " + path("out/c.txt") + ": disk full\n" +
                          "|a.txt=        a\n;b.txt=old b\n;d.txt=        d\n;");
}

TEST_F(RefusedDestinations, AFileOrFolderWithoutWritePermissionIsRefusedAndLeftAsItWas) {
    // A file that no one may write, in place: refused, also for root, whose rights would reach it.
    write("ro/r.txt", "\tr\n");
    ASSERT_EQ(chmod(path("ro/r.txt").c_str(), 0444), 0);
    const NativeRun inPlace{.arguments = {"--in-place", path("ro/r.txt")}};
    NativeResult result = runNative(inPlace);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "quillmerec: " + path("ro/r.txt") + ": access denied\n");
    // The same for its owner, in a folder where the owner may make files.
    result = runBoundByPermissions(inPlace, {"ro", "ro/r.txt"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "quillmerec: " + path("ro/r.txt") + ": access denied\n");
    EXPECT_EQ(contentsOf("ro"), "r.txt=\tr\n;");
    EXPECT_EQ(std::filesystem::status(path("ro/r.txt")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                  std::filesystem::perms::others_read);

    // A folder that its owner may not write: nothing made in it.
    write("in/a.txt", "\ta\n");
    write("in/b.txt", "\tb\n");
    std::filesystem::create_directories(path("out"));
    ASSERT_EQ(chmod(path("out").c_str(), 0555), 0);
    result = runBoundByPermissions({.arguments = {"-o", path("out"), path("in")}}, {"out"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "quillmerec: " + path("out/a.txt") + ": access denied\n" +
                                 "quillmerec: " + path("out/b.txt") + ": access denied\n");
    EXPECT_EQ(contentsOf("out"), "");
}

} // namespace
