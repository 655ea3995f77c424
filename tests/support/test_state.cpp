#include "test_state.h"

#include "win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

void removeTree(const std::string &folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
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
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
