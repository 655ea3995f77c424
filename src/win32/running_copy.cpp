#include "running_copy.h"

bool anotherCopyFrom(bool created, DWORD lastError) {
    if (created) return lastError == ERROR_ALREADY_EXISTS;
    return lastError == ERROR_ACCESS_DENIED;
}

RunningCopyGuard::RunningCopyGuard(const char *mutexName) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName);
    const DWORD lastError = GetLastError();
    mutex_ = KernelHandle(mutex);
    anotherCopy_ = anotherCopyFrom(mutex != nullptr, lastError);
}
