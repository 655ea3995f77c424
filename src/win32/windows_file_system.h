// The jobs' file system on Windows: files opened with share modes, destinations replaced through
// ReplacementFile, folders searched with FindFirstFileW, identity by file ids. Every move goes through
// the FileMoves handed in, so tests can fail or script them.
#pragma once

#include "file_moves.h"
#include "file_system.h"
#include "handles.h"

class WindowsSourceFile : public SourceFile {
public:
    WindowsSourceFile(FileHandle file, FileMoves &calls) : file_(std::move(file)), calls_(calls) {}
    std::uint64_t length() override;
    void readBlocks(std::uint64_t length, const BlockSink &sink) override;
    Sameness isAt(const std::string &path) override;
    void close() override { file_.close(); }
    const FileHandle &handle() const { return file_; }

private:
    FileHandle file_;
    FileMoves &calls_;
};

class WindowsFileSystem : public FileSystem {
public:
    explicit WindowsFileSystem(FileMoves &calls) : calls_(calls) {}

    std::unique_ptr<SourceFile> openForReading(const std::string &path, ShareWrite share) override;
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
    std::string nameKey(const std::string &name) override;

private:
    FileMoves &calls_;
};
