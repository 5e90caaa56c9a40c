// The records that the host graphics library passes to the driver's entry points.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vext {

struct VideoTimingInfo {
    uint32_t ZizarResolution;
    uint32_t ZizarRefreshRate;
    int32_t Depth;
    uint32_t HSyncOn;
    uint32_t HSyncOff;
    uint32_t VSyncOn;
    uint32_t VSyncOff;
    uint32_t HBackPorch;
    uint32_t VBackPorch;
    uint32_t XDimension;
    uint32_t YDimension;
    float ClkFreq16bpp;
    float ClkFreq24bpp;
};

// Register window addresses are 32-bit numbers in the host's process, on every build.
struct BoardInfo {
    uint32_t Version;
    uint32_t VendorId;
    uint32_t SubVendorId;
    uint32_t DeviceId;
    uint32_t BoardId;
    uint32_t HWBaseAddr;
    uint32_t SliSlaveAddr;
    uint8_t hostPrivate[8];
    VideoTimingInfo VideoTiming;
};

static_assert(sizeof(VideoTimingInfo) == 52);
static_assert(offsetof(VideoTimingInfo, ZizarRefreshRate) == 4);
static_assert(offsetof(VideoTimingInfo, Depth) == 8);
static_assert(offsetof(VideoTimingInfo, HSyncOn) == 12);
static_assert(offsetof(VideoTimingInfo, VBackPorch) == 32);
static_assert(offsetof(VideoTimingInfo, XDimension) == 36);
static_assert(offsetof(VideoTimingInfo, YDimension) == 40);
static_assert(offsetof(VideoTimingInfo, ClkFreq16bpp) == 44);
static_assert(offsetof(VideoTimingInfo, ClkFreq24bpp) == 48);

static_assert(offsetof(BoardInfo, VendorId) == 4);
static_assert(offsetof(BoardInfo, SubVendorId) == 8);
static_assert(offsetof(BoardInfo, DeviceId) == 12);
static_assert(offsetof(BoardInfo, BoardId) == 16);
static_assert(offsetof(BoardInfo, HWBaseAddr) == 20);
static_assert(offsetof(BoardInfo, SliSlaveAddr) == 24);
static_assert(offsetof(BoardInfo, VideoTiming) == 36);
static_assert(sizeof(BoardInfo) == 88);

}  // namespace vext
