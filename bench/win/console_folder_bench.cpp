// Times the console program over a folder of text files, start-up included, each phase against the
// least its disk work costs, measured in the same run:
//   quillmerec -t 8 -o NEW FOLDER   against a CopyFileA loop into an empty folder;
//   quillmerec -t 8 --in-place FOLDER over existing files   against a loop that replaces each file
//   whole: copied to a new name beside it, flushed, and renamed over it (MoveFileEx), the least a
//   durable, atomic replace costs.
// The phases are measured in turns and every round is printed as it ends; the best of each phase is
// kept for the ratios. The files are slices of CORPUS (real C source, bench/real_source_corpus.sh)
// where one is given, otherwise generated source-like text.
//   wine build/win/bench/win/console_folder_bench.exe [files] [bytes] [rounds] [CORPUS]
#include "bench_clock.h"
#include "bench_files.h"
#include "win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// quillmerec.exe of the same build: two folders above this benchmark.
std::string consoleProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    for (int up = 0; up < 3; ++up) folder.erase(folder.find_last_of('\\'));
    return folder + "\\quillmerec.exe";
}

// Runs the command line to its end; its exit code.
DWORD run(const std::string &commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string sliceOf(const std::string &corpus, std::size_t at, std::size_t bytes) {
    if (corpus.empty()) return sampleText(bytes);
    return corpus.substr(at % (corpus.size() - bytes), bytes);
}

} // namespace

int main(int argc, char **argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::size_t bytes = argc > 2 ? static_cast<std::size_t>(std::atol(argv[2])) : 50 * 1000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    std::string corpus;
    if (argc > 4) {
        std::ifstream in(argv[4], std::ios::binary);
        corpus.assign(std::istreambuf_iterator<char>(in), {});
        corpus.resize(std::min<std::size_t>(corpus.size(), 64u << 20));
        if (corpus.size() <= bytes) {
            std::fprintf(stderr, "the corpus %s is shorter than one file\n", argv[4]);
            return 2;
        }
    }
    const BenchFolders folders;
    const std::string &root = folders.root, &source = folders.source, &converted = folders.converted,
                      &copied = folders.copied;
    std::vector<std::string> names;
    for (int i = 0; i < files; ++i) {
        names.push_back(std::to_string(i) + ".txt");
        writeBytes(source + names.back(), sliceOf(corpus, static_cast<std::size_t>(i) * 7919 * 64, bytes));
    }
    const std::string program = "\"" + consoleProgram() + "\" -q -t 8 ";
    // A quoted argument must not end in a backslash: it would escape the closing quote.
    const auto quoted = [](const std::string &folder) {
        return "\"" + folder.substr(0, folder.size() - 1) + "\"";
    };
    const auto timed = [](const auto &phase) {
        const double start = seconds();
        phase();
        return seconds() - start;
    };
    double bestCopy = 1e9, bestInto = 1e9, bestReplace = 1e9, bestInPlace = 1e9;
    DWORD failed = 0;
    for (int round = 0; round < rounds; ++round) {
        removeFiles(names, copied);
        const double copy = timed([&] {
            for (const std::string &name : names)
                CopyFileA((source + name).c_str(), (copied + name).c_str(), FALSE);
        });
        removeFiles(names, converted);
        const double into =
            timed([&] { failed |= run(program + "-o " + quoted(converted) + " " + quoted(source)); });
        const double replace = timed([&] { replaceLoop(names, source, copied); });
        const double inPlace = timed([&] { failed |= run(program + "--in-place " + quoted(converted)); });
        std::printf(
            "round %d: copy loop %.3f s, quillmerec -o into an empty folder %.3f s (%.2f); replace loop"
            " %.3f s, quillmerec --in-place over existing files %.3f s (%.2f)\n",
            round + 1, copy, into, into / copy, replace, inPlace, inPlace / replace);
        std::fflush(stdout);
        bestCopy = std::min(bestCopy, copy);
        bestInto = std::min(bestInto, into);
        bestReplace = std::min(bestReplace, replace);
        bestInPlace = std::min(bestInPlace, inPlace);
    }
    std::printf("%d files of %zu bytes (%s): -o into an empty folder %.3f s, %.2f x the copy loop (%.3f s);"
                " --in-place over existing files %.3f s, %.2f x the replace loop (%.3f s)%s\n",
                files, bytes, corpus.empty() ? "generated text" : argv[4], bestInto, bestInto / bestCopy,
                bestCopy, bestInPlace, bestInPlace / bestReplace, bestReplace,
                failed ? "; a run FAILED" : "");
    for (const std::string &folder : {source, converted, copied}) removeFiles(names, folder);
    for (const std::string &folder : {source, converted, copied, root}) RemoveDirectoryA(folder.c_str());
    return failed ? 1 : 0;
}
