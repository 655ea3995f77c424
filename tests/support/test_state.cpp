#include "test_state.h"

#include "win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

std::wstring wideOf(const std::string &utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    return wide;
}

std::string utf8Of(const std::wstring &wide) {
    std::string text(wide.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

std::vector<std::string> namesMatching(const std::string &pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(wideOf(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = utf8Of(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

namespace {

// Long names need the prefix that lifts the path limit.
std::wstring longPath(const std::string &path) {
    const bool full = path.size() > 2 && path[1] == ':' && path.find('/') == std::string::npos &&
                      path.find("\\.") == std::string::npos;
    return full ? L"\\\\?\\" + wideOf(path) : wideOf(path);
}

} // namespace

void removeTree(const std::string &folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(longPath(folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = utf8Of(found.cFileName);
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesW(longPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileW(longPath(path).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(longPath(folder).c_str());
}

void forgetSettingsAndData(std::string dataFolder) {
    RegDeleteTreeA(HKEY_CURRENT_USER, settingsKeyPath);
    dataFolder.pop_back();
    removeTree(dataFolder);
}

std::string freshTestFolder(const std::string &prefix) {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + prefix + std::to_string(GetCurrentProcessId()) + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    removeTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

void writeBytes(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileW(longPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readBytes(const std::string &path) {
    HANDLE file = CreateFileW(longPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

void FreshFolderTest::startClean(const std::string &dataFolder, const std::string &folderPrefix) {
    forgetSettingsAndData(dataFolder);
    temp_ = freshTestFolder(folderPrefix);
}

void FreshFolderTest::TearDown() { removeTree(temp_.substr(0, temp_.size() - 1)); }

std::string FreshFolderTest::writeFile(const std::string &name, const std::string &bytes) const {
    writeBytes(temp_ + name, bytes);
    return temp_ + name;
}
