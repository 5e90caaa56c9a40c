// Board register windows: the board's memory-mapped registers, named by 32-bit addresses.
//
// On Win32 an address is where the host mapped the window in its process, and an access is one
// volatile 32-bit load or store there. The simulation maps the addresses onto simulated boards
// that every process of the simulation root shares (platform/sim/board.h).
#pragma once

#include <cstdint>

namespace vext::platform {

// Exactly one 32-bit read of the register at address (a multiple of 4).
uint32_t readRegisterWindow(uint32_t address);
// Exactly one 32-bit write of the register at address (a multiple of 4).
void writeRegisterWindow(uint32_t address, uint32_t value);

}  // namespace vext::platform
