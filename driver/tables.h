// The video mode tables: resolution and refresh-rate names, scan names, and the TV timings of the
// four resolutions that the encoder can show.
#pragma once

#include <cstdint>

namespace vext {

constexpr uint32_t kNoTVTiming = 255;
// Bit of a TVOutStatus resolution field that asks for defaults instead of stored values.
constexpr uint16_t kDefaultsOnlyFlag = 0x80;

struct TVTimingEntry {
    uint32_t hSyncOn;
    uint32_t hSyncOff;
    uint32_t vSyncOn;
    uint32_t vSyncOff;
    uint32_t hBackPorch;
    uint32_t vBackPorch;
    float clock16bpp;
    float clock24bpp;
    uint8_t encoderMode;  // written to encoder register 0
    uint16_t startValue;  // bits 0-7 to encoder register 7, bit 8 to register 8 bit 2
    uint16_t defaultHorizontal;
    uint16_t defaultVertical;
};

struct ResolutionName {
    uint32_t code;
    const char* name;
};

constexpr int kResolutionCount = 16;
constexpr int kTVTimingCount = 25;

extern const ResolutionName ResolutionNameTable[kResolutionCount];
extern const char* const ScanNames[2];
extern const char* const RefreshRateNames[9];
extern const uint8_t ModeIndexTable[32];
extern const TVTimingEntry TVTimingTable[kTVTimingCount];

const char* resolutionName(uint32_t code);
const char* refreshRateName(uint32_t code);
const char* scanName(uint32_t scan);
uint32_t tvTimingIndex(uint32_t code, uint32_t scan);

}  // namespace vext
