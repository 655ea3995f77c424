#include "path_checks.h"
#include "handles.h"
#include "path_text.h"

bool fileExists(const std::string &path) noexcept {
    try {
        FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.valid();
    } catch (...) {
        return false;
    }
}

bool DirExists(const std::string &folder) noexcept {
    try {
        WIN32_FIND_DATAA found;
        FindHandle search(FindFirstFileA((addBackslash(folder) + "*.*").c_str(), &found));
        return search.valid();
    } catch (...) {
        return false;
    }
}
