// The shared status block that every process loading the driver sees, and the two primitives
// through which the driver reaches the board's registers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/settings.h"
#include "platform/abi.h"

namespace vext {

// The live TV-out state in the section "TVOutMappingObject". Every process that maps it must
// agree on this layout.
struct TVOutSharedBlock {
    uint32_t regBase;       // register window of the board whose bus reaches the encoder
    uint32_t otherRegBase;  // register window of the board not in use, 0 for none
    uint32_t tvActive;      // 1 while TV output is switched on
    uint32_t alternateSetup;
    TVOutStatus status;  // the live settings
};

static_assert(sizeof(TVOutSharedBlock) == 56);
static_assert(offsetof(TVOutSharedBlock, otherRegBase) == 4);
static_assert(offsetof(TVOutSharedBlock, tvActive) == 8);
static_assert(offsetof(TVOutSharedBlock, alternateSetup) == 12);
static_assert(offsetof(TVOutSharedBlock, status) == 16);

constexpr const char* kSharedSectionName = "TVOutMappingObject";

// Creates the section (or takes the existing one with its contents) and maps it, replacing this
// process's handle and view. Failures are not reported; a later mapSharedBlock tries again.
// The first steps of duvuzInitMapBoard.
void createSharedBlock();

// 1 when this process has a view of the block, opening the section by name when needed; else 0.
int32_t mapSharedBlock();

// This process's view, or nullptr before a successful mapSharedBlock.
TVOutSharedBlock* sharedBlock();

// Closes this process's section handle, if it holds one; the view stays mapped and in use.
// Returns whether a handle was closed. For duvuzRestoreVideo.
bool closeSharedBlockHandle();

// Drops this process's handle and unmaps its view, as if the process had just loaded the driver.
// The driver itself never does this; tests use it to start afresh.
void resetSharedBlockForTesting();

// One 32-bit access to board register offset (rounded down to a multiple of 4) through regBase.
// The caller has mapped the block. While no register base has been stored (regBase 0) nothing is
// touched: a read gives 0 and a write is dropped.
uint32_t readBoardRegister(uint32_t offset);
void writeBoardRegister(uint32_t offset, uint32_t value);

}  // namespace vext

extern "C" {
VEXT_EXPORT uint32_t VEXT_STDCALL duvuzGet(uint32_t query, uint32_t size, void* out);
VEXT_EXPORT uint32_t VEXT_STDCALL duvuzGetMMIO(uint32_t offset);
VEXT_EXPORT uint32_t VEXT_STDCALL duvuzSetMMIO(uint32_t offset, uint32_t value);
}
