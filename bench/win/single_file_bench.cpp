// Times the single-file job (the verification pass, then the conversion into a new destination)
// over one file against CopyFileA of the same file, in turns and in the same run, and prints the
// ratio and how far the job raised the process's peak memory.
//   wine build/win/bench/win/single_file_bench.exe FILE [tabs|spaces]
#include "bench_clock.h"
#include "file_jobs.h"
#include "win.h"
#include "windows_file_system.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Private bytes: now, or the most the process has had.
std::size_t privateBytes(bool peak) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [tabs|spaces]\n", argv[0]);
        return 1;
    }
    const std::string source = argv[1];
    const bool tabs = argc < 3 || std::strcmp(argv[2], "spaces") != 0;
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string stem = std::string(base) + "qm-single-" + std::to_string(GetCurrentProcessId());
    const std::string converted = stem + "-conv.txt", copied = stem + "-copy.txt";

    const std::size_t before = privateBytes(false);
    SystemFileMoves moves;
    WindowsFileSystem files(moves);
    double bestJob = 1e9, bestCopy = 1e9;
    for (int round = 0; round < 3; ++round) {
        DeleteFileA(converted.c_str());
        double start = seconds();
        verifyInput(source, files);
        if (tabs)
            convertFileTabStops(source, converted, 8, files);
        else
            convertFileFixedSpaces(
                source, converted, [] { return int16_t{8}; }, files);
        bestJob = std::min(bestJob, seconds() - start);
        DeleteFileA(copied.c_str());
        start = seconds();
        CopyFileA(source.c_str(), copied.c_str(), FALSE);
        bestCopy = std::min(bestCopy, seconds() - start);
    }
    const double growth = static_cast<double>(privateBytes(true) - before) / 1048576.0;
    std::printf(
        "%s job (verification included) %.3f s, CopyFileA %.3f s, ratio %.2f; peak memory growth %.1f MiB\n",
        tabs ? "tab-stop" : "fixed-number", bestJob, bestCopy, bestJob / bestCopy, growth);
    DeleteFileA(converted.c_str());
    DeleteFileA(copied.c_str());
    return 0;
}
