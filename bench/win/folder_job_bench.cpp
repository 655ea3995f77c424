// Times the folder job over a folder of text files, into an empty folder and again over the files it
// wrote, against a loop that only copies the same files with CopyFileA, in the same run, and prints
// the ratios. The verification pass that a run makes before converting is timed apart. The machines
// are shared and noisy, so the phases are measured in turns; every round is printed as it ends, and
// the best of each phase is kept for the ratios.
#include "bench_clock.h"
#include "bench_files.h"
#include "file_jobs.h"
#include "win.h"
#include "windows_file_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::size_t bytes = argc > 2 ? static_cast<std::size_t>(std::atol(argv[2])) : 50 * 1000;
    const BenchFolders folders;
    const std::string &root = folders.root, &source = folders.source, &converted = folders.converted,
                      &copied = folders.copied;

    const std::string text = sampleText(bytes);
    const std::vector<std::string> names = writeSampleFiles(source, files, text);
    std::vector<std::string> sources;
    for (const std::string &name : names) sources.push_back(source + name);

    // Each round: the job into an empty folder, the job again over the files it wrote, and the copy
    // loop into an empty folder.
    SystemFileMoves moves;
    WindowsFileSystem fileSystem(moves);
    const FolderConversion job{TabRule::TabStops, converted, [] { return int16_t{8}; }, [] {}};
    const auto timed = [](const auto &phase) {
        const double start = seconds();
        phase();
        return seconds() - start;
    };
    double bestJob = 1e9, bestOver = 1e9, bestCopy = 1e9, bestVerify = 1e9;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    for (int round = 0; round < rounds; ++round) {
        removeFiles(names, converted);
        const double verify = timed([&] {
            verifyInputs(
                sources, fileSystem, [](const std::string &) {}, [] {});
        });
        const double into = timed([&] { convertFolder(sources, job, fileSystem); });
        const double over = timed([&] { convertFolder(sources, job, fileSystem); });
        removeFiles(names, copied);
        const double copy = timed([&] {
            for (std::size_t i = 0; i < sources.size(); ++i)
                CopyFileA(sources[i].c_str(), (copied + names[i]).c_str(), FALSE);
        });
        std::printf(
            "round %d: copy %.3f s, verification %.3f s (%.2f), job into an empty folder %.3f s (%.2f),"
            " over existing files %.3f s (%.2f)\n",
            round + 1, copy, verify, verify / copy, into, into / copy, over, over / copy);
        std::fflush(stdout);
        bestVerify = std::min(bestVerify, verify);
        bestJob = std::min(bestJob, into);
        bestOver = std::min(bestOver, over);
        bestCopy = std::min(bestCopy, copy);
    }
    std::printf(
        "%d files of %zu bytes: CopyFileA loop into an empty folder %.3f s; folder job into an empty folder"
        " %.3f s, ratio %.2f; over existing files %.3f s, ratio %.2f; verification pass %.3f s, ratio %.2f\n",
        files, bytes, bestCopy, bestJob, bestJob / bestCopy, bestOver, bestOver / bestCopy, bestVerify,
        bestVerify / bestCopy);

    // A name that is not in a folder costs a look at every entry under Wine (no case-insensitive index),
    // so a folder of many files slows every such lookup: timed in an empty folder and among the copies.
    const std::string empty = root + "empty\\";
    CreateDirectoryA(empty.c_str(), nullptr);
    const auto missingLookup = [&](const std::string &folder) {
        const int lookups = 200;
        return timed([&] {
                   for (int i = 0; i < lookups; ++i)
                       GetFileAttributesA((folder + "missing" + std::to_string(i) + ".txt").c_str());
               }) /
               lookups;
    };
    std::printf("a name that is not there, looked up: %.3f ms in an empty folder, %.3f ms among %d files\n",
                1000 * missingLookup(empty), 1000 * missingLookup(copied), files);
    RemoveDirectoryA(empty.c_str());

    removeFiles(names, source);
    removeFiles(names, converted);
    removeFiles(names, copied);
    for (const std::string &folder : {source, converted, copied, root}) RemoveDirectoryA(folder.c_str());
    return 0;
}
