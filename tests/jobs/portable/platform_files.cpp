#include "platform_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string withSeparators(std::string name) {
    std::replace(name.begin(), name.end(), '/', pathSeparator);
    return name;
}

} // namespace

void PortableFilesTest::SetUp() {
    static std::atomic<int> serial{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path folder =
        fs::temp_directory_path() / ("qm-jobs-" + std::to_string(now) + "-" + std::to_string(++serial));
    fs::create_directories(folder);
    folder_ = folder.string();
}

void PortableFilesTest::TearDown() {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
}

std::string PortableFilesTest::path(const std::string &name) const {
    return name.empty() ? folder_ : folder_ + pathSeparator + withSeparators(name);
}

std::string PortableFilesTest::write(const std::string &name, const std::string &bytes) const {
    const std::string full = path(name);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
}

std::string PortableFilesTest::read(const std::string &name) const {
    // Whole, not a character at a time: tests read megabytes, also in unoptimised sanitizer builds.
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool PortableFilesTest::exists(const std::string &name) const { return fs::exists(path(name)); }

std::vector<std::string> PortableFilesTest::ownFilesIn(const std::string &folder) const {
    std::vector<std::string> own;
    for (const fs::directory_entry &entry : fs::directory_iterator(path(folder))) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("~qm", 0) == 0) own.push_back(name);
    }
    return own;
}
