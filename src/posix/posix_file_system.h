// The jobs' platform interface (file_system.h) on POSIX. Handed the calls that put replacements in
// place, so that tests can fail them.
#pragma once

#include "file_system.h"
#include "posix_calls.h"

class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(PosixCalls &calls) : calls_(calls) {}

    // ShareWrite is not looked at: POSIX has no share modes.
    std::unique_ptr<SourceFile> openForReading(const std::string &path, ShareWrite share) override;
    // The listing is not needed: a replace here makes no backup whose name it would choose.
    std::unique_ptr<Replacement> replacementOf(const std::string &destination, DestinationSeen seen,
                                               const FolderListing *listing) override;
    void writeWholeFile(const std::string &path, std::string_view bytes) override;

    bool fileExists(const std::string &path) override;
    bool folderExists(const std::string &path) override;
    void createFolderPath(const std::string &folder) override;
    std::unique_ptr<FolderListing> listing(const std::string &folder) override;
    void forEachOrdinaryFile(const std::string &folder, const std::string &pattern,
                             const std::function<void(const std::string &)> &found) override;
    bool refusesNewFiles(const std::string &folder) override;
    void recoverLeftovers(const std::string &folder) override;

    Sameness sameFileOnDisk(const std::string &first, const std::string &second) override;
    // The name's bytes: POSIX file systems tell names apart byte for byte.
    std::string nameKey(const std::string &name) override { return name; }

private:
    PosixCalls &calls_;
};
