// The encoder's two-wire bus, driven bit by bit through two board registers: clock in bit 0x8 of
// register 0x244, data in register 0x248. Framing as on any two-wire bus; no delays, the bus runs
// as fast as the register accesses go.
#pragma once

#include <cstdint>

#include "platform/abi.h"

namespace vext {

// Result codes in the low 16 bits of a transaction's result word; the upper 16 bits are bits
// 31..16 of register 0x244 after the stop condition. A whole word of 0: the shared block could
// not be mapped and no register was touched.
constexpr uint32_t kBusDone = 1;
constexpr uint32_t kBusNoAckDevice = 2;
constexpr uint32_t kBusNoAckRegister = 3;
constexpr uint32_t kBusNoAckThirdByte = 4;

// Reads of the data line while waiting for an acknowledge before giving up.
constexpr int kAckPollLimit = 5000;

}  // namespace vext

extern "C" {
// Writes value into register reg of bus device device (write-form address). Low 8 bits are sent.
VEXT_EXPORT uint32_t VEXT_STDCALL vdoSetDac(uint32_t device, uint32_t reg, uint32_t value);
// Reads register reg of bus device device into *out; *out is written only on success.
VEXT_EXPORT uint32_t VEXT_STDCALL vdoGetDac(uint32_t device, uint32_t reg, uint8_t* out);
}
