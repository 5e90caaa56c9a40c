#include "platform/named_lock.h"

#include <windows.h>

namespace vext::platform {

NamedLock::NamedLock(const char* name, uint32_t timeoutMs) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (mutex == nullptr) {
        return;
    }
    // A mutex whose owner died comes back abandoned: the caller owns it then, as after a normal
    // release.
    DWORD rc = WaitForSingleObject(mutex, timeoutMs);
    if (rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED) {
        handle_ = mutex;
    } else {
        CloseHandle(mutex);
    }
}

NamedLock::~NamedLock() {
    if (handle_ != nullptr) {
        ReleaseMutex(static_cast<HANDLE>(handle_));
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

}  // namespace vext::platform
