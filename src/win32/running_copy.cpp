#include "running_copy.h"

RunningCopyGuard::RunningCopyGuard() {
    mutex_ = CreateMutexW(nullptr, FALSE, L"Local\\Quillmere.RunningCopy");
    anotherCopy_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

RunningCopyGuard::~RunningCopyGuard() {
    if (mutex_) CloseHandle(mutex_);
}
