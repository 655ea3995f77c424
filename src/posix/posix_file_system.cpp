#include "posix_file_system.h"

#include "posix_files.h"
#include "posix_folders.h"
#include "posix_own_files.h"
#include "posix_replacement.h"

std::unique_ptr<SourceFile> PosixFileSystem::openForReading(const std::string &path, ShareWrite) {
    return std::make_unique<PosixSourceFile>(path);
}

std::unique_ptr<Replacement> PosixFileSystem::replacementOf(const std::string &destination,
                                                            DestinationSeen seen, const FolderListing *) {
    return std::make_unique<PosixReplacement>(destination, calls_, seen);
}

void PosixFileSystem::writeWholeFile(const std::string &path, std::string_view bytes) {
    ::writeWholeFile(calls_, path, bytes);
}

bool PosixFileSystem::fileExists(const std::string &path) { return ::fileExists(path); }

bool PosixFileSystem::folderExists(const std::string &path) { return ::folderExists(path); }

void PosixFileSystem::createFolderPath(const std::string &folder) { ::createFolderPath(folder); }

std::unique_ptr<FolderListing> PosixFileSystem::listing(const std::string &folder) {
    return std::make_unique<PosixFolderListing>(folder);
}

void PosixFileSystem::forEachOrdinaryFile(const std::string &folder, const std::string &pattern,
                                          const std::function<void(const std::string &)> &found) {
    ::forEachOrdinaryFile(folder, pattern, found);
}

bool PosixFileSystem::refusesNewFiles(const std::string &folder) { return ::refusesNewFiles(folder); }

void PosixFileSystem::recoverLeftovers(const std::string &folder) { ::recoverLeftovers(folder, calls_); }

Sameness PosixFileSystem::sameFileOnDisk(const std::string &first, const std::string &second) {
    return ::sameFileOnDisk(first, second);
}
