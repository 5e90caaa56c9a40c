// Encoder programming: the register image built from the live settings, the output-mode switch,
// the choice between two boards, and the wait before live reprogramming.
#pragma once

#include <cstdint>

#include "driver/host_records.h"
#include "driver/shared_block.h"
#include "driver/tables.h"
#include "platform/abi.h"

namespace vext {

// The encoder's bus address (write form).
constexpr uint32_t kEncoderAddress = 0xEC;
// Encoder registers 0 to 33 make up the image; an entry of kNotWritten is skipped.
constexpr int kEncoderImageSize = 34;
constexpr uint8_t kNotWritten = 255;
// Registry switch under the root key: when not 0, the encoder is never written.
constexpr const char* kIgnoreEncoderSwitch = "DIZA2_TVOUT_IGNORE_CH7003";
// waitRegister0Clear gives up after this many reads of register 0x000 (some hundred
// milliseconds of bus time on the board), so that a status bit that never clears cannot hang
// the caller, which may be the settings panel's dialog.
constexpr uint32_t kRegister0ReadLimit = 1000000;

// The 34-entry register image for the live block and the timing entry of its mode.
void buildEncoderImage(const TVOutSharedBlock& block, const TVTimingEntry& timing,
                       uint8_t image[kEncoderImageSize]);

// Writes the image from the live block, then sets the output mode: duvuzControl mode 1 while
// tvActive is set, else encoder register 14 = 9. Does nothing while the ignore switch is set.
// Returns 0. The caller has mapped the block and holds a live enable.
int32_t programTVEncoder();

// Switches TV output on (mode 1) or off (mode 2) through board register 0x210 and encoder
// register 14; returns 1, or 0 for any other mode. The hardware part of duvuzControl: the caller
// has mapped the block and checked the live enable.
uint32_t switchTVOutput(uint32_t mode);

// The five transactions of the probe through the board that regBase holds. Returns the value
// read back from encoder register 16, or previous when the read fails.
uint8_t probeEncoder(uint8_t previous);

// Reads register 0x000 until bit 0x200 reads clear three times in a row. Gives up after
// kRegister0ReadLimit reads and returns false; the caller then programs all the same, since a
// late reprogramming is better than settings that never arrive.
bool waitRegister0Clear();

// The encoder-facing steps of duvuzInitSetVideo, run after its trace and mapSharedBlock: store
// the board's register window addresses, write register 14 = 12, and, while the live enable is
// set, choose the board whose bus reaches the encoder, set alternateSetup, switch on, program,
// and clear bit 0x200000 of register 0x244. Returns 1 when TV output was set up, else 0 (also
// when board is null or the block is not mapped).
int32_t setUpTVEncoder(const BoardInfo* board);

}  // namespace vext

extern "C" {
VEXT_EXPORT uint32_t VEXT_STDCALL duvuzControl(uint32_t mode);
}
