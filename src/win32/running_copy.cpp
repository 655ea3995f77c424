#include "running_copy.h"

#include "wide_text.h"

bool anotherCopyFrom(bool created, DWORD lastError) {
    if (created) return lastError == ERROR_ALREADY_EXISTS;
    return lastError == ERROR_ACCESS_DENIED;
}

RunningCopyGuard::RunningCopyGuard(const char *mutexName) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, toWide(mutexName).c_str());
    const DWORD lastError = GetLastError();
    mutex_ = KernelHandle(mutex);
    anotherCopy_ = anotherCopyFrom(mutex != nullptr, lastError);
}
