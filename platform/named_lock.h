// A lock shared by every process on the machine under one name, held for the object's lifetime.
//
// It is recursive within a thread. A process that dies holding it releases it (Win32: the mutex
// is abandoned and the next waiter owns it; simulation: the kernel drops the file lock). A holder
// that stays alive but never lets go blocks a waiter for at most the given time; the waiter then
// goes on without the lock, and held() tells it so.
#pragma once

#include <cstdint>

namespace vext::platform {

class NamedLock {
  public:
    NamedLock(const char* name, uint32_t timeoutMs);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    bool held() const { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
};

}  // namespace vext::platform
