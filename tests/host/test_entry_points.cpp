// The host's entry points on the simulation: the timing choice, the status query, the settings
// write-back, the timing registers, restoring the video, and what each traces.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "driver/entry_points.h"
#include "driver/settings.h"
#include "driver/shared_block.h"
#include "driver/trace.h"
#include "platform/registry.h"
#include "platform/sim/board.h"
#include "tests/host/board_fixture.h"
#include "tests/host/trace_fixture.h"

namespace vext::test {
namespace {

constexpr uint16_t k640x480 = 7;
constexpr uint16_t k1024x768 = 12;

// A fresh root with one board, the root as current directory, and the host's records.
class EntryPointTest : public DriverStateTest {
  protected:
    void SetUp() override {
        DriverStateTest::SetUp();
        ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
        dir_ = std::make_unique<InTraceDir>(root());
        board_ = knownBoard();
        board_.HWBaseAddr = sim::kBoardWindowAddress[0];
    }
    void TearDown() override {
        dir_.reset();
        DriverStateTest::TearDown();
    }

    // The host's monitor timing for a resolution.
    static VideoTimingInfo monitorTiming(uint32_t resolution) {
        VideoTimingInfo t{};
        t.ZizarResolution = resolution;
        t.ZizarRefreshRate = 3;
        t.Depth = 16;
        t.HSyncOn = 11;
        t.HSyncOff = 12;
        t.VSyncOn = 13;
        t.VSyncOff = 14;
        t.HBackPorch = 15;
        t.VBackPorch = 16;
        t.XDimension = 640;
        t.YDimension = 480;
        t.ClkFreq16bpp = 25.175f;
        t.ClkFreq24bpp = 50.35f;
        return t;
    }

    static void enableTV(const char* text = "1") { storeRoot("DIZA2_TVOUT", text); }
    static void storeRoot(const char* name, const char* text) {
        writeTVOutSetting(nullptr, name, static_cast<uint16_t>(std::atoi(text)));
    }
    static void storeUnderscan(const char* resolution, uint16_t value) {
        writeTVOutSetting(resolution, "DIZA2_TVOUT_UNDERSCAN", value);
    }

    // Maps the board and sets up the timing for a resolution, as the host does before a mode set.
    int32_t mapAndChooseTiming(uint32_t resolution, VideoTimingInfo* t) {
        EXPECT_EQ(duvuzInitMapBoard(&board_), 1);
        *t = monitorTiming(resolution);
        return duvuzInitVideoTiming(t);
    }

    BoardInfo board_{};

  private:
    std::unique_ptr<InTraceDir> dir_;
};

TEST_F(EntryPointTest, TimingIsRewrittenFor640x480InBothScanModes) {
    struct Case {
        uint16_t underscan;
        uint32_t words[6];
        float clock16;
        float clock24;
    };
    const Case cases[] = {
        {0, {96, 686, 2, 523, 30, 25}, 24.671f, 49.342f},
        {1, {96, 686, 2, 598, 30, 84}, 28.196f, 56.392f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.underscan);
        enableTV();
        storeUnderscan("640x480", c.underscan);
        VideoTimingInfo t{};
        ASSERT_EQ(mapAndChooseTiming(k640x480, &t), 1);
        const uint32_t got[6] = {t.HSyncOn,  t.HSyncOff,   t.VSyncOn,
                                 t.VSyncOff, t.HBackPorch, t.VBackPorch};
        EXPECT_EQ(std::memcmp(got, c.words, sizeof got), 0);
        EXPECT_EQ(std::memcmp(&t.ClkFreq16bpp, &c.clock16, 4), 0);  // bit for bit
        EXPECT_EQ(std::memcmp(&t.ClkFreq24bpp, &c.clock24, 4), 0);
        EXPECT_EQ(t.ZizarRefreshRate, 0u);
        EXPECT_EQ(t.ZizarResolution, k640x480);
        EXPECT_EQ(t.Depth, 16);
        EXPECT_EQ(t.XDimension, 640u);
        EXPECT_EQ(t.YDimension, 480u);

        const TVOutSharedBlock& block = *sharedBlock();
        EXPECT_EQ(block.status.resolution, k640x480);
        EXPECT_EQ(block.status.enable, 1);
        EXPECT_EQ(block.status.underscan, c.underscan);
        EXPECT_EQ(block.tvActive, 0u);
        EXPECT_EQ(duvuzGetStatus(), 0);  // the stored settings match the timing in force

        uint32_t words[6] = {};
        duvuzGetTiming(words);
        EXPECT_EQ(std::memcmp(words, c.words, sizeof words), 0);
    }
}

TEST_F(EntryPointTest, ModeWithoutTVTimingIsLeftUntouchedAndAsksForANewTimingForever) {
    enableTV();
    VideoTimingInfo t{};
    EXPECT_EQ(mapAndChooseTiming(k1024x768, &t), 0);
    VideoTimingInfo asked = monitorTiming(k1024x768);
    EXPECT_EQ(std::memcmp(&t, &asked, sizeof t), 0);
    EXPECT_EQ(sharedBlock()->status.enable, 0);
    EXPECT_EQ(duvuzGetStatus(), 1);  // the registry says enabled, the live record does not
    EXPECT_EQ(duvuzGetStatus(), 1);

    uint32_t words[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(duvuzGetTiming(words), 0);
    const uint32_t unchanged[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(std::memcmp(words, unchanged, sizeof words), 0);
}

TEST_F(EntryPointTest, DisabledTVLeavesTheTimingAndRestoreDoesNothing) {
    enableTV("0");
    VideoTimingInfo t{};
    EXPECT_EQ(mapAndChooseTiming(k640x480, &t), 0);
    VideoTimingInfo asked = monitorTiming(k640x480);
    EXPECT_EQ(std::memcmp(&t, &asked, sizeof t), 0);
    EXPECT_EQ(duvuzGetStatus(), 0);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 0);
}

TEST_F(EntryPointTest, StatusAsksForANewTimingWhenEnableOrScanModeChange) {
    enableTV();
    VideoTimingInfo t{};
    ASSERT_EQ(mapAndChooseTiming(k640x480, &t), 1);
    storeRoot("DIZA2_TVOUT_BRIGHTNESS", "200");
    EXPECT_EQ(duvuzGetStatus(), 0);  // other settings never call for a new timing
    storeUnderscan("640x480", 1);
    EXPECT_EQ(duvuzGetStatus(), 1);
    storeUnderscan("640x480", 0);
    EXPECT_EQ(duvuzGetStatus(), 0);
    storeUnderscan("800x600", 1);  // another resolution's scan mode
    EXPECT_EQ(duvuzGetStatus(), 0);
    enableTV("0");
    EXPECT_EQ(duvuzGetStatus(), 1);
    // The whole stored value counts: 65537 differs from the live 1 although its low bits do not.
    platform::RegKey key = platform::RegKey::create(platform::RegRoot::LocalMachine, kTVOutRootKey);
    ASSERT_TRUE(key.setString("DIZA2_TVOUT", "65537", 6));
    EXPECT_EQ(duvuzGetStatus(), 1);
}

TEST_F(EntryPointTest, SetStoresTheLiveRecordWithAClearedEnable) {
    enableTV();
    VideoTimingInfo t{};
    ASSERT_EQ(mapAndChooseTiming(k1024x768, &t), 0);
    EXPECT_EQ(duvuzSet(), 0);
    EXPECT_EQ(readTVOutSetting(0, nullptr, "DIZA2_TVOUT", 99), 0);
    EXPECT_EQ(duvuzGetStatus(), 0);  // registry and live record agree again
}

TEST_F(EntryPointTest, SetTimingWritesTheThreeTimingRegisters) {
    enableTV();
    VideoTimingInfo t{};
    ASSERT_EQ(mapAndChooseTiming(k640x480, &t), 1);
    sharedBlock()->regBase = sim::kBoardWindowAddress[0];  // as the mode set stores it
    const uint32_t words[6] = {96, 686, 2, 523, 30, 25};
    EXPECT_EQ(duvuzSetTiming(words), 0);
    uint32_t value = 0;
    ASSERT_TRUE(sim::peekBoardRegister(0, 0x220, &value));
    EXPECT_EQ(value, (686u << 16) | 96u);
    ASSERT_TRUE(sim::peekBoardRegister(0, 0x224, &value));
    EXPECT_EQ(value, (523u << 16) | 2u);
    ASSERT_TRUE(sim::peekBoardRegister(0, 0x208, &value));
    EXPECT_EQ(value, (25u << 16) | 30u);

    const uint32_t wide[6] = {0x10001, 1, 0, 0xFFFF, 0, 0};  // sums, not masked
    duvuzSetTiming(wide);
    ASSERT_TRUE(sim::peekBoardRegister(0, 0x220, &value));
    EXPECT_EQ(value, 0x20001u);
    ASSERT_TRUE(sim::peekBoardRegister(0, 0x224, &value));
    EXPECT_EQ(value, 0xFFFF0000u);
}

TEST_F(EntryPointTest, RestoreClosesTheHandleOnceAndKeepsTheView) {
    enableTV();
    VideoTimingInfo t{};
    ASSERT_EQ(mapAndChooseTiming(k640x480, &t), 1);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 1);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 1);  // closes nothing the second time
    ASSERT_NE(sharedBlock(), nullptr);
    uint32_t enabled = 0;
    EXPECT_EQ(duvuzGet(1, 4, &enabled), 4u);
    EXPECT_EQ(enabled, 1u);
    EXPECT_EQ(duvuzGetStatus(), 0);
}

TEST_F(EntryPointTest, WithoutTheSectionEveryEntryPointFailsAndLeavesItsRecord) {
    enableTV();
    VideoTimingInfo t = monitorTiming(k640x480);
    EXPECT_EQ(duvuzInitVideoTiming(&t), 0);
    VideoTimingInfo asked = monitorTiming(k640x480);
    EXPECT_EQ(std::memcmp(&t, &asked, sizeof t), 0);
    EXPECT_EQ(duvuzGetStatus(), 0);
    EXPECT_EQ(duvuzSet(), 0);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 0);
    uint32_t words[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(duvuzGetTiming(words), 0);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(duvuzSetTiming(words), 0);
}

TEST_F(EntryPointTest, NullRecordsReturnZeroAndTouchNothing) {
    setTraceLevel("80");
    EXPECT_EQ(duvuzInitMapBoard(nullptr), 0);
    EXPECT_EQ(mapSharedBlock(), 0);  // no section was created
    EXPECT_EQ(duvuzInitVideoTiming(nullptr), 0);
    EXPECT_EQ(duvuzRestoreVideo(nullptr), 0);
    EXPECT_EQ(duvuzGetTiming(nullptr), 0);
    EXPECT_EQ(duvuzSetTiming(nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(kTraceFileName));
    EXPECT_EQ(debugOutputText(), "");
}

TEST_F(EntryPointTest, TraceRecordsTheHostsCallsAsTheyCame) {
    setTraceLevel("80");
    enableTV();
    VideoTimingInfo t{};
    board_ = knownBoard();
    ASSERT_EQ(mapAndChooseTiming(k640x480, &t), 1);
    EXPECT_EQ(duvuzGetStatus(), 0);
    duvuzSet();
    uint32_t words[6] = {};
    duvuzGetTiming(words);
    duvuzSetTiming(words);
    // The timing dump shows the host's record as it was passed in, before the rewrite.
    const std::string expected = std::string(kKnownBoardTrace) +
                                 "VideoTimingInfo:\n"
                                 "\tZizarResolution:  (0x7 : 640x480)\n"
                                 "\tZizarRefreshRate: (0x3 : 75 Mhz)\n"
                                 "\tDepth:            16\n"
                                 "\tHSyncOn:          0xB\n"
                                 "\tHSyncOff:         0xC\n"
                                 "\tVSyncOn:          0xD\n"
                                 "\tVSyncOff:         0xE\n"
                                 "\tHBackPorch:       0xF\n"
                                 "\tVBackPorch:       0x10\n"
                                 "\tXDimension:       0x280\n"
                                 "\tYDimension:       0x1E0\n"
                                 "\tClkFreq 16bpp:    25.175\n"
                                 "\tClkFreq 24bpp:    50.35\n"
                                 "duvuzGetStatus: \n"
                                 "\n";
    EXPECT_EQ(traceFileText(), crlf(expected));
    EXPECT_EQ(debugOutputText(), expected);
}

TEST_F(EntryPointTest, BelowLevel80NoFileIsWritten) {
    setTraceLevel("79");
    enableTV();
    VideoTimingInfo t{};
    ASSERT_EQ(mapAndChooseTiming(k640x480, &t), 1);
    duvuzGetStatus();
    duvuzRestoreVideo(&board_);
    EXPECT_FALSE(std::filesystem::exists(kTraceFileName));
    EXPECT_EQ(debugOutputText(), "");
}

}  // namespace
}  // namespace vext::test
