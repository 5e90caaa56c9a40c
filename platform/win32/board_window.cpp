#include "platform/board_window.h"

#include <cstdint>

namespace vext::platform {

// The host maps the board's windows into its process; the address is used as it is. volatile
// makes each call exactly one 32-bit access that the compiler neither caches, merges nor drops.
uint32_t readRegisterWindow(uint32_t address) {
    return *reinterpret_cast<volatile uint32_t*>(static_cast<uintptr_t>(address));
}

void writeRegisterWindow(uint32_t address, uint32_t value) {
    *reinterpret_cast<volatile uint32_t*>(static_cast<uintptr_t>(address)) = value;
}

}  // namespace vext::platform
