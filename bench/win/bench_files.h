// The folder benchmarks' files: source-like text with tabs, written and removed by the plain calls.
#pragma once

#include "win.h"

#include <cstddef>
#include <string>
#include <vector>

// A folder of the benchmark's own in the temporary folder, with its sources, the job's output and the
// copies; each ends in a backslash.
struct BenchFolders {
    std::string root, source, converted, copied;

    BenchFolders() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        root = std::string(base) + "qm-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
        source = root + "src\\";
        converted = root + "conv\\";
        copied = root + "copy\\";
        for (const std::string &folder : {root, source, converted, copied})
            CreateDirectoryA(folder.c_str(), nullptr);
    }
};

inline std::string sampleText(std::size_t bytes) {
    std::string text;
    for (int line = 0; text.size() < bytes; ++line) {
        if (line % 4) text += '\t';
        text.append("field ").append(std::to_string(line)).append("\tvalue\t\tmore text\r\n");
    }
    text.resize(bytes);
    return text;
}

inline void writeBytes(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

inline void removeFiles(const std::vector<std::string> &names, const std::string &folder) {
    for (const std::string &name : names) DeleteFileA((folder + name).c_str());
}

// The names "0.txt", "1.txt" ... of `files` files written into folder, each holding text.
inline std::vector<std::string> writeSampleFiles(const std::string &folder, int files,
                                                 const std::string &text) {
    std::vector<std::string> names;
    for (int i = 0; i < files; ++i) {
        names.push_back(std::to_string(i) + ".txt");
        writeBytes(folder + names.back(), text);
    }
    return names;
}

// Each file of the folder replaced whole by a copy of its source, as a durable, atomic replace does it
// at the least: copied to a new name beside it, flushed, and renamed over it.
inline void replaceLoop(const std::vector<std::string> &names, const std::string &from,
                        const std::string &folder) {
    for (const std::string &name : names) {
        const std::string temporary = folder + name + ".new";
        CopyFileA((from + name).c_str(), temporary.c_str(), FALSE);
        HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        FlushFileBuffers(file);
        CloseHandle(file);
        MoveFileExA(temporary.c_str(), (folder + name).c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}
