// Serialises use of the encoder bus across threads and processes. A transaction is hundreds of
// read-modify-write accesses to two board registers that every process shares, so two of them
// must never overlap. The lock is held for each transaction and for each whole programming run
// (it is recursive within a thread).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/named_lock.h"

namespace vext {

// The name of the lock, beside the section "TVOutMappingObject".
constexpr const char* kBusLockName = "TVOutBusLock";
// How long a caller waits for a holder that stays alive but never lets go (a hung process). After
// that it goes on without the lock rather than hang, which is what the bus did before it had one.
// A holder that died releases the lock at once.
constexpr uint32_t kBusLockTimeoutMs = 2000;

class BusLock {
  public:
    BusLock();
    BusLock(const BusLock&) = delete;
    BusLock& operator=(const BusLock&) = delete;

  private:
    std::optional<platform::NamedLock> lock_;
};

// Test-only: switches the lock off in this process, to show what overlapping transactions do.
void setBusLockEnabledForTesting(bool enabled);

}  // namespace vext
