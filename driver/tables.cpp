#include "driver/tables.h"

namespace vext {

const ResolutionName ResolutionNameTable[kResolutionCount] = {
    {0, "320x200"},   {1, "320x240"},    {2, "400x256"},    {3, "512x384"},
    {4, "640x200"},   {5, "640x350"},    {6, "640x400"},    {7, "640x480"},
    {8, "800x600"},   {9, "960x720"},    {10, "856x480"},   {11, "512x256"},
    {12, "1024x768"}, {13, "1280x1024"}, {14, "1600x1200"}, {15, "400x300"},
};

const char* const ScanNames[2] = {"OverScan", "UnderScan"};

const char* const RefreshRateNames[9] = {"60", "70", "72", "75", "80", "90", "100", "85", "120"};

// Index: resolution code * 2 + scan index.
const uint8_t ModeIndexTable[32] = {
    255, 255,  // 320x200
    255, 255,  // 320x240
    255, 255,  // 400x256
    2,   3,    // 512x384
    255, 255,  // 640x200
    255, 255,  // 640x350
    11,  12,   // 640x400
    16,  17,   // 640x480
    22,  24,   // 800x600 (underscan is entry 24, not 23)
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
};

// Entries that no resolution reaches keep only their encoder mode byte, so that the filled
// entries stand at the encoder's own mode numbering.
#define VEXT_UNUSED_MODE(mode) \
    { 0, 0, 0, 0, 0, 0, 0.0f, 0.0f, mode, 0, 16, 16 }

const TVTimingEntry TVTimingTable[kTVTimingCount] = {
    VEXT_UNUSED_MODE(16),
    VEXT_UNUSED_MODE(17),
    {55, 743, 3, 417, 130, 30, 20.14f, 40.28f, 24, 200, 27, 0},    // 2: 512x384 overscan
    {55, 727, 3, 522, 150, 90, 24.671f, 49.342f, 25, 220, 46, 3},  // 3: 512x384 underscan
    VEXT_UNUSED_MODE(48),
    VEXT_UNUSED_MODE(49),
    VEXT_UNUSED_MODE(56),
    VEXT_UNUSED_MODE(57),
    VEXT_UNUSED_MODE(80),
    VEXT_UNUSED_MODE(81),
    VEXT_UNUSED_MODE(88),
    {96, 742, 2, 523, 70, 84, 26.434f, 52.868f, 89, 182, 52, 2},  // 11: 640x400 overscan
    {96, 742, 2, 598, 70, 138, 30.21f, 60.42f, 90, 182, 70, 8},   // 12: 640x400 underscan
    VEXT_UNUSED_MODE(112),
    VEXT_UNUSED_MODE(113),
    VEXT_UNUSED_MODE(115),
    {96, 686, 2, 523, 30, 25, 24.671f, 49.342f, 121, 142, 32, 0},  // 16: 640x480 overscan
    {96, 686, 2, 598, 30, 84, 28.196f, 56.392f, 122, 142, 48, 2},  // 17: 640x480 underscan
    VEXT_UNUSED_MODE(123),
    VEXT_UNUSED_MODE(145),
    VEXT_UNUSED_MODE(147),
    VEXT_UNUSED_MODE(148),
    {127, 911, 4, 626, 72, 25, 39.273f, 78.546f, 155, 214, 36, 0},  // 22: 800x600 overscan
    VEXT_UNUSED_MODE(156),
    {127, 935, 4, 746, 76, 106, 47.832f, 95.664f, 157, 220, 62, 2},  // 24: 800x600 underscan
};

#undef VEXT_UNUSED_MODE

const char* resolutionName(uint32_t code) {
    for (const ResolutionName& row : ResolutionNameTable) {
        if (row.code == code) {
            return row.name;
        }
    }
    return "Unknown";
}

const char* refreshRateName(uint32_t code) {
    return code < sizeof RefreshRateNames / sizeof RefreshRateNames[0] ? RefreshRateNames[code]
                                                                       : "Unknown";
}

const char* scanName(uint32_t scan) {
    // Callers pass only 0 or 1; anything else is named as underscan rather than read past the end.
    return ScanNames[scan == 0 ? 0 : 1];
}

uint32_t tvTimingIndex(uint32_t code, uint32_t scan) {
    if (code > 15 || scan > 1) {
        return kNoTVTiming;
    }
    return ModeIndexTable[code * 2 + scan];
}

}  // namespace vext
