#include "driver/bus_lock.h"

namespace vext {

namespace {

bool gBusLockEnabled = true;

}  // namespace

BusLock::BusLock() {
    if (gBusLockEnabled) {
        lock_.emplace(kBusLockName, kBusLockTimeoutMs);
    }
}

void setBusLockEnabledForTesting(bool enabled) {
    gBusLockEnabled = enabled;
}

}  // namespace vext
