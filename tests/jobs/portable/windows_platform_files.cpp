#include "platform_files.h"

#include "windows_file_system.h"

const char pathSeparator = '\\';

std::unique_ptr<FileSystem> platformFileSystem() {
    static SystemFileMoves moves;
    return std::make_unique<WindowsFileSystem>(moves);
}
