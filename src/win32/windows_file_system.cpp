#include "windows_file_system.h"

#include "folders.h"
#include "own_files.h"
#include "path_text.h"
#include "replacement_file.h"
#include "text_files.h"
#include "write_probe.h"

namespace {

class WindowsReplacement : public Replacement {
public:
    WindowsReplacement(const std::string &destination, FileMoves &calls, DestinationSeen seen,
                       const FolderNames *listing)
        : file_(destination, calls, seen, listing) {}
    void write(std::string_view bytes) override { file_.write(bytes); }
    void flushAhead() override { file_.flushAhead(); }
    // The source comes from the same file system as this replacement: a WindowsSourceFile.
    void commit(SourceFile *source) override {
        file_.commit(source ? &static_cast<WindowsSourceFile *>(source)->handle() : nullptr);
    }

private:
    ReplacementFile file_;
};

} // namespace

std::uint64_t WindowsSourceFile::length() { return fileLength(file_); }

void WindowsSourceFile::readBlocks(std::uint64_t length, const BlockSink &sink) {
    ::readBlocks(file_, length, sink);
}

Sameness WindowsSourceFile::isAt(const std::string &path) { return fileAt(file_, path, calls_); }

std::unique_ptr<SourceFile> WindowsFileSystem::openForReading(const std::string &path, ShareWrite share) {
    return std::make_unique<WindowsSourceFile>(::openForReading(path, share), calls_);
}

// A listing comes from listing() of this file system: FolderNames.
std::unique_ptr<Replacement> WindowsFileSystem::replacementOf(const std::string &destination,
                                                              DestinationSeen seen,
                                                              const FolderListing *listing) {
    return std::make_unique<WindowsReplacement>(destination, calls_, seen,
                                                static_cast<const FolderNames *>(listing));
}

void WindowsFileSystem::writeWholeFile(const std::string &path, std::string_view bytes) {
    ::writeWholeFile(path, bytes);
}

bool WindowsFileSystem::fileExists(const std::string &path) { return ::fileExists(path); }

bool WindowsFileSystem::folderExists(const std::string &path) { return DirExists(path); }

void WindowsFileSystem::createFolderPath(const std::string &folder) { ::createFolderPath(folder); }

std::unique_ptr<FolderListing> WindowsFileSystem::listing(const std::string &folder) {
    return std::make_unique<FolderNames>(folder);
}

void WindowsFileSystem::forEachOrdinaryFile(const std::string &folder, const std::string &pattern,
                                            const std::function<void(const std::string &)> &found) {
    ::forEachOrdinaryFile(addBackslash(folder) + pattern, found);
}

bool WindowsFileSystem::refusesNewFiles(const std::string &folder) {
    return probeFolderForWriting(addBackslash(folder)) == ProbeResult::AccessRefused;
}

void WindowsFileSystem::recoverLeftovers(const std::string &folder) { ::recoverLeftovers(folder, calls_); }

Sameness WindowsFileSystem::sameFileOnDisk(const std::string &first, const std::string &second) {
    return ::sameFileOnDisk(first, second, calls_);
}

std::string WindowsFileSystem::nameKey(const std::string &name) { return pathKey(name); }
