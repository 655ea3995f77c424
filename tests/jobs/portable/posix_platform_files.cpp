#include "platform_files.h"

#include "posix_calls.h"
#include "posix_file_system.h"

const char pathSeparator = '/';

std::unique_ptr<FileSystem> platformFileSystem() {
    static SystemPosixCalls calls;
    return std::make_unique<PosixFileSystem>(calls);
}
