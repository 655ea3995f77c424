#include "running_copy.h"

RunningCopyGuard::RunningCopyGuard() {
    mutex_ = CreateMutexA(nullptr, FALSE, "Local\\Quillmere.RunningCopy");
    anotherCopy_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

RunningCopyGuard::~RunningCopyGuard() {
    if (mutex_) CloseHandle(mutex_);
}
