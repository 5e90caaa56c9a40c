#include <gtest/gtest.h>

#include <cstring>

#include "driver/tables.h"

namespace vext {
namespace {

TEST(Tables, ResolutionNames) {
    EXPECT_STREQ(resolutionName(7), "640x480");
    EXPECT_STREQ(resolutionName(13), "1280x1024");
    EXPECT_STREQ(resolutionName(15), "400x300");
    EXPECT_STREQ(resolutionName(0x87), "Unknown");  // the defaults-only flag is not part of a code
    EXPECT_STREQ(resolutionName(16), "Unknown");
    EXPECT_STREQ(resolutionName(0x10007), "Unknown");  // all 32 bits must match
}

TEST(Tables, RefreshRateNames) {
    EXPECT_STREQ(refreshRateName(0), "60");
    EXPECT_STREQ(refreshRateName(6), "100");
    EXPECT_STREQ(refreshRateName(7), "85");
    EXPECT_STREQ(refreshRateName(8), "120");
    EXPECT_STREQ(refreshRateName(9), "Unknown");
    EXPECT_STREQ(refreshRateName(0xFF), "Unknown");
}

TEST(Tables, ScanNames) {
    EXPECT_STREQ(scanName(0), "OverScan");
    EXPECT_STREQ(scanName(1), "UnderScan");
}

TEST(Tables, TimingIndexOfEveryCodeAndScan) {
    struct Case {
        uint32_t code, scan, index;
    } cases[] = {
        {3, 0, 2},   {3, 1, 3},    {6, 0, 11},           {6, 1, 12},           {7, 0, 16},
        {7, 1, 17},  {8, 0, 22},   {8, 1, 24},           {12, 0, 255},         {12, 1, 255},
        {3, 2, 255}, {16, 0, 255}, {0xFFFFFFFF, 0, 255}, {7, 0xFFFFFFFF, 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tvTimingIndex(c.code, c.scan), c.index) << c.code << "/" << c.scan;
    }
    int filled = 0;
    for (uint32_t code = 0; code < 16; ++code) {
        for (uint32_t scan = 0; scan < 2; ++scan) {
            filled += tvTimingIndex(code, scan) != 255;
        }
    }
    EXPECT_EQ(filled, 8);
}

uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

TEST(Tables, ClocksAreTheNearestFloats) {
    EXPECT_EQ(bits(TVTimingTable[2].clock16bpp), 0x41A11EB8u);  // 20.14
    for (uint32_t code = 0; code < 16; ++code) {
        for (uint32_t scan = 0; scan < 2; ++scan) {
            uint32_t index = tvTimingIndex(code, scan);
            if (index == 255) {
                continue;
            }
            const TVTimingEntry& e = TVTimingTable[index];
            // Twice the 16 bpp clock: the same bits with the exponent one higher.
            EXPECT_EQ(bits(e.clock24bpp), bits(e.clock16bpp) + (1u << 23)) << index;
            EXPECT_NE(e.hSyncOn, 0u);
        }
    }
}

TEST(Tables, FilledEntriesHoldTheirTimings) {
    const TVTimingEntry& e = TVTimingTable[24];  // 800x600 underscan
    EXPECT_EQ(e.hSyncOn, 127u);
    EXPECT_EQ(e.hSyncOff, 935u);
    EXPECT_EQ(e.vSyncOff, 746u);
    EXPECT_EQ(e.vBackPorch, 106u);
    EXPECT_EQ(e.encoderMode, 157);
    EXPECT_EQ(e.startValue, 220);
    EXPECT_EQ(e.defaultHorizontal, 62);
    EXPECT_EQ(e.defaultVertical, 2);
    EXPECT_EQ(TVTimingTable[23].encoderMode, 156);
    EXPECT_EQ(TVTimingTable[23].hSyncOn, 0u);
    EXPECT_EQ(TVTimingTable[23].defaultHorizontal, 16);
    EXPECT_EQ(TVTimingTable[0].encoderMode, 16);
}

}  // namespace
}  // namespace vext
