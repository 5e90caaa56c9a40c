#include "driver/entry_points.h"

#include "driver/encoder.h"
#include "driver/settings.h"
#include "driver/shared_block.h"
#include "driver/tables.h"
#include "driver/trace.h"

using namespace vext;

namespace {

constexpr const char* kEnableValue = "DIZA2_TVOUT";
constexpr const char* kUnderscanValue = "DIZA2_TVOUT_UNDERSCAN";

// Board registers that take the video timing: two 16-bit halves each.
constexpr uint32_t kHorizontalSyncRegister = 0x220;  // on low, off high
constexpr uint32_t kVerticalSyncRegister = 0x224;    // on low, off high
constexpr uint32_t kBackPorchRegister = 0x208;       // horizontal low, vertical high

// The TV timing entry of the live resolution and scan mode, or nullptr when there is none.
const TVTimingEntry* liveTimingEntry(const TVOutSharedBlock& block) {
    uint32_t index = tvTimingIndex(block.status.resolution, block.status.underscan);
    return index == kNoTVTiming ? nullptr : &TVTimingTable[index];
}

}  // namespace

// A null record pointer, here and in every entry point below, returns 0 and touches nothing:
// not the trace, the section or the board.

extern "C" int32_t VEXT_STDCALL duvuzInitMapBoard(BoardInfo* board) {
    if (board == nullptr) {
        return 0;
    }
    traceEntry("duvuzInitMapBoard", board);
    createSharedBlock();
    return 1;
}

extern "C" int32_t VEXT_STDCALL duvuzInitVideoTiming(VideoTimingInfo* timing) {
    if (timing == nullptr) {
        return 0;
    }
    traceVideoTiming(timing);  // as the host passed it in
    if (!mapSharedBlock()) {
        return 0;
    }
    TVOutSharedBlock& block = *sharedBlock();
    block.tvActive = 0;
    block.status.resolution = static_cast<uint16_t>(timing->ZizarResolution);
    duvuzGetTVOutStatus(&block.status);
    if (block.status.enable == 0) {
        return 0;
    }
    const TVTimingEntry* entry = liveTimingEntry(block);
    if (entry == nullptr) {
        block.status.enable = 0;  // this mode runs without TV output
        return 0;
    }
    timing->HSyncOn = entry->hSyncOn;
    timing->HSyncOff = entry->hSyncOff;
    timing->VSyncOn = entry->vSyncOn;
    timing->VSyncOff = entry->vSyncOff;
    timing->HBackPorch = entry->hBackPorch;
    timing->VBackPorch = entry->vBackPorch;
    timing->ClkFreq16bpp = entry->clock16bpp;
    timing->ClkFreq24bpp = entry->clock24bpp;
    timing->ZizarRefreshRate = 0;
    return 1;
}

extern "C" int32_t VEXT_STDCALL duvuzInitSetVideo(BoardInfo* board) {
    if (board == nullptr) {
        return 0;
    }
    traceEntry("duvuzInitSetVideo", board);
    if (!mapSharedBlock()) {
        return 0;
    }
    return setUpTVEncoder(board);
}

extern "C" int32_t VEXT_STDCALL duvuzRestoreVideo(BoardInfo* board) {
    if (board == nullptr) {
        return 0;
    }
    traceEntry("duvuzRestoreVideo", board);
    if (!mapSharedBlock()) {
        return 0;
    }
    if (sharedBlock()->status.enable == 0) {
        return 0;
    }
    // The view stays and serves every later call of this process; TV output stays as it is.
    closeSharedBlockHandle();
    return 1;
}

extern "C" int32_t VEXT_STDCALL duvuzGetStatus() {
    traceEntry("duvuzGetStatus", nullptr);
    if (!mapSharedBlock()) {
        return 0;
    }
    const TVOutStatus& live = sharedBlock()->status;
    // Only the two settings that decide the timing call for a new mode set; the others reach the
    // encoder at once through the live update.
    int32_t storedEnable = readTVOutSetting(live.resolution, nullptr, kEnableValue, 0);
    if (storedEnable != static_cast<int32_t>(live.enable)) {
        return 1;
    }
    if (live.enable == 0) {
        return 0;
    }
    int32_t storedUnderscan =
        readTVOutSetting(live.resolution, resolutionName(live.resolution), kUnderscanValue, 0);
    return storedUnderscan != static_cast<int32_t>(live.underscan) ? 1 : 0;
}

extern "C" int32_t VEXT_STDCALL duvuzSet() {
    if (!mapSharedBlock()) {
        return 0;
    }
    duvuzSetTVOutStatus(&sharedBlock()->status);
    return 0;
}

extern "C" int32_t VEXT_STDCALL duvuzGetTiming(uint32_t* words) {
    if (words == nullptr || !mapSharedBlock()) {
        return 0;
    }
    // A mode without a TV timing has no words to give: the caller's stay as they are.
    if (const TVTimingEntry* entry = liveTimingEntry(*sharedBlock())) {
        words[0] = entry->hSyncOn;
        words[1] = entry->hSyncOff;
        words[2] = entry->vSyncOn;
        words[3] = entry->vSyncOff;
        words[4] = entry->hBackPorch;
        words[5] = entry->vBackPorch;
    }
    return 0;
}

extern "C" int32_t VEXT_STDCALL duvuzSetTiming(const uint32_t* words) {
    if (words == nullptr || !mapSharedBlock()) {
        return 0;
    }
    // 32-bit sums, not masked: a word above 0xFFFF carries into the upper half.
    writeBoardRegister(kHorizontalSyncRegister, words[0] + (words[1] << 16));
    writeBoardRegister(kVerticalSyncRegister, words[2] + (words[3] << 16));
    writeBoardRegister(kBackPorchRegister, words[4] + (words[5] << 16));
    return 0;
}
