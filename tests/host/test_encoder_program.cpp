// Encoder programming, the output switch, the board choice and the live update, checked by what
// the simulated encoder received.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver/encoder.h"
#include "driver/encoder_bus.h"
#include "driver/live_update.h"
#include "driver/settings.h"
#include "platform/registry.h"
#include "tests/host/board_fixture.h"

namespace vext::test {
namespace {

// Encoder registers that the image writes, in the order they are written.
const std::vector<int> kImageOrder = {0,  1,  3,  4,  6,  7,  8,  9,  10, 11, 13, 17, 19,
                                      20, 21, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33};

constexpr uint16_t k640x480 = 7;

class ProgramTest : public BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        // A live 640x480 overscan mode with the registry defaults, TV output on.
        TVOutStatus& s = live();
        s.resolution = k640x480;
        duvuzGetTVOutStatus(&s);
        s.enable = 1;
        sharedBlock()->tvActive = 1;
    }

    TVOutStatus& live() { return sharedBlock()->status; }

    std::vector<sim::EncoderTransaction> transactions(int index = 0) {
        return board(index).transactions;
    }

    static std::vector<int> registers(const std::vector<sim::EncoderTransaction>& ts) {
        std::vector<int> regs;
        for (const sim::EncoderTransaction& t : ts) {
            regs.push_back(t.read ? -t.reg : t.reg);
        }
        return regs;
    }

    void expectImageThenOutputMode(int board, uint8_t outputMode) {
        std::vector<sim::EncoderTransaction> ts = transactions(board);
        std::vector<int> expected = kImageOrder;
        expected.push_back(14);
        EXPECT_EQ(registers(ts), expected);
        for (const sim::EncoderTransaction& t : ts) {
            EXPECT_TRUE(t.whole);
        }
        EXPECT_EQ(this->board(board).encoder[14], outputMode);
    }

    void clearLog(int index = 0) { ASSERT_TRUE(sim::clearBoardLog(index)); }

    void setIgnoreSwitch(const char* value) {
        platform::RegKey key =
            platform::RegKey::create(platform::RegRoot::LocalMachine, kTVOutRootKey);
        ASSERT_TRUE(key.setString(kIgnoreEncoderSwitch, value, std::strlen(value) + 1));
    }
};

TEST_F(ProgramTest, WritesTwentyFiveImageRegistersThenOutputMode) {
    programTVEncoder();
    expectImageThenOutputMode(0, 11);  // output device 3, the default
    sim::BoardSnapshot b = board();
    const TVTimingEntry& timing = TVTimingTable[tvTimingIndex(k640x480, 0)];
    EXPECT_EQ(b.encoder[0], timing.encoderMode);
    EXPECT_EQ(b.encoder[7], timing.startValue & 0xFF);
    EXPECT_EQ(b.encoder[9], 127);  // brightness default
    EXPECT_EQ(b.encoder[17], 3);   // contrast default
    EXPECT_EQ(b.encoder[1], 0);
    EXPECT_EQ(b.encoder[4], 0x42);
    EXPECT_EQ(b.encoder[6], 0x14);
    EXPECT_EQ(b.encoder[10], timing.defaultHorizontal & 0xFF);
    EXPECT_EQ(b.encoder[11], timing.defaultVertical & 0xFF);
    const uint8_t crawl[8] = {2, 5, 2, 4, 9, 2, 4, 9};
    EXPECT_EQ(std::memcmp(&b.encoder[24], crawl, 8), 0);
    EXPECT_EQ(b.encoder[32], 10);
    EXPECT_EQ(b.encoder[33], 1);
    EXPECT_EQ(b.encoder[21], 1);
    for (int reg : {2, 5, 12, 15, 16, 18, 22, 23}) {
        EXPECT_EQ(b.encoderWrites[reg], 0u) << "register " << reg;
    }
    EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
    EXPECT_EQ(peek(0x210) & 1u, 1u);  // monitor output kept, tvOnly 0
}

TEST_F(ProgramTest, SettingsReachTheirRegisters) {
    struct Case {
        const char* what;
        void (*change)(TVOutSharedBlock&);
        int reg;
        std::vector<uint8_t> values;  // from reg on
    };
    const Case cases[] = {
        {"flicker 1", [](TVOutSharedBlock& b) { b.status.flickerFilter = 1; }, 1, {3}},
        {"flicker 7", [](TVOutSharedBlock& b) { b.status.flickerFilter = 7; }, 1, {3}},
        {"brightness", [](TVOutSharedBlock& b) { b.status.brightness = 0x1D0; }, 9, {0xD0}},
        {"contrast", [](TVOutSharedBlock& b) { b.status.contrast = 5; }, 17, {5}},
        {"alternate setup",
         [](TVOutSharedBlock& b) { b.alternateSetup = 1; },
         4,
         {0x40, 255, 0x10}},
        {"dot crawl",
         [](TVOutSharedBlock& b) { b.status.dotCrawl = 2; },
         24,
         {2, 5, 2, 4, 9, 12, 7, 10}},
        {"position high bits",
         [](TVOutSharedBlock& b) {
             b.status.position[0] = {496, 256};
         },
         8,
         {3, 255, 0xF0, 0x00}},
        {"underscan position",
         [](TVOutSharedBlock& b) {
             b.status.underscan = 1;
             b.status.position[1] = {0x101, 0x22};
         },
         8,
         {2, 255, 0x01, 0x22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TVOutSharedBlock saved = *sharedBlock();
        c.change(*sharedBlock());
        programTVEncoder();
        sim::BoardSnapshot b = board();
        for (size_t i = 0; i < c.values.size(); ++i) {
            if (c.values[i] != 255) {
                EXPECT_EQ(b.encoder[c.reg + i], c.values[i]) << "register " << c.reg + i;
            }
        }
        *sharedBlock() = saved;
    }
}

TEST(EncoderImage, TimingBitEightAndPositionBitsGoIntoRegisterEight) {
    TVOutSharedBlock block{};
    block.status.position[0] = {496, 256};
    TVTimingEntry timing{};
    timing.startValue = 200;
    uint8_t image[kEncoderImageSize];
    buildEncoderImage(block, timing, image);
    EXPECT_EQ(image[10], 0xF0);
    EXPECT_EQ(image[11], 0x00);
    EXPECT_EQ(image[8], 0x03);
    timing.startValue = 0x1C8;
    block.status.position[0] = {0x10, 0x10};
    buildEncoderImage(block, timing, image);
    EXPECT_EQ(image[7], 0xC8);
    EXPECT_EQ(image[8], 0x04);
    int written = 0;
    for (uint8_t v : image) {
        written += v != kNotWritten ? 1 : 0;
    }
    EXPECT_EQ(written, 25);
}

TEST_F(ProgramTest, InactiveOutputEndsWithRegisterFourteenNineAndLeavesBoardRegister) {
    sharedBlock()->tvActive = 0;
    writeBoardRegister(0x210, 0x1234);
    programTVEncoder();
    expectImageThenOutputMode(0, 9);
    EXPECT_EQ(peek(0x210), 0x1234u);
}

TEST_F(ProgramTest, IgnoreSwitchKeepsEncoderUntouched) {
    setIgnoreSwitch("1");
    programTVEncoder();
    EXPECT_TRUE(transactions().empty());
    setIgnoreSwitch("0");
    programTVEncoder();
    EXPECT_EQ(transactions().size(), 26u);
}

TEST_F(ProgramTest, ControlSetsOutputModeAndMonitorBit) {
    struct Case {
        uint32_t mode;
        uint16_t outputDevice;
        uint16_t tvOnly;
        uint32_t result;
        int outputMode;  // -1: nothing written
        uint32_t monitorBit;
        uint32_t tvActive;
    };
    const Case cases[] = {
        {1, 0, 0, 1, 9, 1, 1},  {1, 1, 0, 1, 8, 1, 1},  {1, 2, 1, 1, 10, 0, 1},
        {1, 3, 0, 1, 11, 1, 1}, {1, 5, 1, 1, 9, 0, 1},  {2, 1, 0, 1, 9, 0, 0},
        {2, 3, 1, 1, 9, 0, 0},  {3, 1, 0, 0, -1, 1, 7}, {0, 1, 0, 0, -1, 1, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " device " << c.outputDevice
                                        << " tvOnly " << c.tvOnly);
        live().outputDevice = c.outputDevice;
        live().tvOnly = c.tvOnly;
        sharedBlock()->tvActive = 7;
        writeBoardRegister(0x210, 0xF1);
        clearLog();
        EXPECT_EQ(duvuzControl(c.mode), c.result);
        std::vector<sim::EncoderTransaction> ts = transactions();
        if (c.outputMode < 0) {
            EXPECT_TRUE(ts.empty());
        } else {
            ASSERT_EQ(ts.size(), 1u);
            EXPECT_EQ(ts[0].reg, 14);
            EXPECT_EQ(ts[0].value, c.outputMode);
        }
        EXPECT_EQ(peek(0x210), 0xF0u | c.monitorBit);
        EXPECT_EQ(sharedBlock()->tvActive, c.tvActive);
    }
}

TEST_F(ProgramTest, ControlDoesNothingWhileLiveDisabled) {
    live().enable = 0;
    writeBoardRegister(0x210, 0xF0);
    clearLog();
    EXPECT_EQ(duvuzControl(1), 0u);
    EXPECT_EQ(duvuzControl(2), 0u);
    EXPECT_TRUE(transactions().empty());
    EXPECT_EQ(peek(0x210), 0xF0u);
}

// ---- the encoder-facing steps of duvuzInitSetVideo ----

class SetUpTest : public ProgramTest {
  protected:
    BoardInfo info(bool second) {
        BoardInfo b{};
        b.HWBaseAddr = sim::kBoardWindowAddress[0];
        b.SliSlaveAddr = second ? sim::kBoardWindowAddress[1] : 0;
        return b;
    }
    void makeBoard(int index, int probeReadback, bool encoder = true, bool reg214Bit = true) {
        sim::BoardConfig c;
        c.probeReadback = probeReadback;
        c.encoderPresent = encoder;
        c.reg214Bit = reg214Bit;
        ASSERT_TRUE(sim::createBoard(index, c));
    }
    void SetUp() override {
        ProgramTest::SetUp();
        sharedBlock()->regBase = 0;
        sharedBlock()->tvActive = 0;
    }
};

const std::vector<int> kProbe = {14, 16, 16, -16, 14};

TEST_F(SetUpTest, SingleBoardProbesProgramsAndSwitchesOn) {
    BoardInfo b = info(false);
    EXPECT_EQ(setUpTVEncoder(&b), 1);
    EXPECT_EQ(sharedBlock()->regBase, sim::kBoardWindowAddress[0]);
    EXPECT_EQ(sharedBlock()->otherRegBase, 0u);
    EXPECT_EQ(sharedBlock()->tvActive, 1u);
    EXPECT_EQ(sharedBlock()->alternateSetup, 0u);  // register 0x214 bit 0x400000 set
    std::vector<int> expected = {14};
    expected.insert(expected.end(), kProbe.begin(), kProbe.end());
    expected.insert(expected.end(), kImageOrder.begin(), kImageOrder.end());
    expected.push_back(14);
    std::vector<sim::EncoderTransaction> ts = transactions();
    EXPECT_EQ(registers(ts), expected);
    EXPECT_EQ(ts[0].value, 12);
    EXPECT_EQ(ts[1].value, 11);
    EXPECT_EQ(ts[5].value, 12);
    EXPECT_EQ(board().encoder[14], 11);
    EXPECT_EQ(peek(0x244) & 0x200000u, 0u);
    EXPECT_EQ(board().protocolErrors, 0u) << board().lastProtocolError;
}

TEST_F(SetUpTest, AlternateSetupWhenStrapBitClear) {
    sim::BoardConfig c;
    c.reg214Bit = false;
    ASSERT_TRUE(sim::createBoard(0, c));
    BoardInfo b = info(false);
    EXPECT_EQ(setUpTVEncoder(&b), 1);
    EXPECT_EQ(sharedBlock()->alternateSetup, 1u);
    EXPECT_EQ(board().encoder[4], 0x40);
    EXPECT_EQ(board().encoder[6], 0x10);
}

TEST_F(SetUpTest, DisabledStoresBasesAndWritesSetUpModeOnly) {
    live().enable = 0;
    BoardInfo b = info(true);
    makeBoard(1, -1);
    EXPECT_EQ(setUpTVEncoder(&b), 0);
    EXPECT_EQ(sharedBlock()->regBase, sim::kBoardWindowAddress[0]);
    EXPECT_EQ(sharedBlock()->otherRegBase, sim::kBoardWindowAddress[1]);
    std::vector<sim::EncoderTransaction> ts = transactions();
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_EQ(ts[0].reg, 14);
    EXPECT_EQ(ts[0].value, 12);
    EXPECT_EQ(sharedBlock()->tvActive, 0u);
    EXPECT_TRUE(transactions(1).empty());
}

TEST_F(SetUpTest, TwoBoardsChooseTheOneWhoseProbeDoesNotReadFourteen) {
    struct Case {
        int first;
        int second;
        bool firstEncoder;
        int chosen;
    };
    const Case cases[] = {
        {14, 0, true, 1},    // the first board's bus does not reach the encoder
        {14, 14, true, 0},   // neither: the first board stays
        {0, 14, true, 0},    // the first board answers: the second is never probed
        {-1, -1, false, 0},  // the first read fails: the probe byte starts at 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "/" << c.second);
        makeBoard(0, c.first, c.firstEncoder);
        // Only the second board's register 0x214 calls for the alternate setup.
        makeBoard(1, c.second, true, false);
        sharedBlock()->regBase = 0;
        BoardInfo b = info(true);
        EXPECT_EQ(setUpTVEncoder(&b), 1);
        const int other = 1 - c.chosen;
        EXPECT_EQ(sharedBlock()->regBase, sim::kBoardWindowAddress[c.chosen]);
        EXPECT_EQ(sharedBlock()->otherRegBase, sim::kBoardWindowAddress[other]);
        // Register 0x214 is read through the board chosen.
        EXPECT_EQ(sharedBlock()->alternateSetup, c.chosen == 1 ? 1u : 0u);
        // The image and the output mode went to the chosen board.
        EXPECT_GE(board(c.chosen).transactionCount, 5u + 26u);
        EXPECT_LE(board(other).transactionCount, 6u);
        EXPECT_EQ(board(other).encoderWrites[33], 0u);
        const bool secondProbed = c.first == 14;
        EXPECT_EQ(board(1).transactions.size() > 0, secondProbed || c.chosen == 1);
    }
}

TEST_F(SetUpTest, IgnoreSwitchStillProbesAndSwitchesBoardRegisters) {
    setIgnoreSwitch("1");
    BoardInfo b = info(false);
    EXPECT_EQ(setUpTVEncoder(&b), 1);
    std::vector<int> expected = {14};
    expected.insert(expected.end(), kProbe.begin(), kProbe.end());
    EXPECT_EQ(registers(transactions()), expected);
    EXPECT_EQ(sharedBlock()->tvActive, 1u);
    EXPECT_EQ(peek(0x244) & 0x200000u, 0u);
}

// ---- the wait before live reprogramming ----

TEST_F(ProgramTest, WaitEndsAtThirdClearReadInARow) {
    sim::BoardConfig c;
    c.reg0Pattern = "1101001000";
    ASSERT_TRUE(sim::createBoard(0, c));
    const uint64_t before = board().accesses;
    EXPECT_TRUE(waitRegister0Clear());
    EXPECT_EQ(board().accesses - before, 10u);
}

TEST_F(ProgramTest, WaitOnStuckBitGivesUpAtItsBound) {
    sim::BoardConfig c;
    c.reg0Pattern = "1";
    ASSERT_TRUE(sim::createBoard(0, c));
    const uint64_t before = board().accesses;
    EXPECT_FALSE(waitRegister0Clear());
    EXPECT_EQ(board().accesses - before, kRegister0ReadLimit);
}

// ---- the live update, through duvuzSetTVOutStatus ----

class LiveUpdateTest : public ProgramTest {
  protected:
    TVOutStatus changed() {
        TVOutStatus r = live();
        r.brightness = 200;
        r.contrast = 5;
        r.position[0] = {40, 7};
        r.reserved[0] = 0x5A;
        return r;
    }
};

TEST_F(LiveUpdateTest, MatchingRecordIsCopiedAndReprogrammed) {
    TVOutStatus r = changed();
    clearLog();
    duvuzSetTVOutStatus(&r);
    expectImageThenOutputMode(0, 11);
    EXPECT_EQ(board().encoder[9], 200);
    EXPECT_EQ(board().encoder[17], 5);
    EXPECT_EQ(board().encoder[10], 40);
    EXPECT_EQ(live().brightness, 200);
    EXPECT_EQ(live().position[0].vertical, 7);
    EXPECT_EQ(live().reserved[0], 0);
}

TEST_F(LiveUpdateTest, CopiesEverySettingButTheTimingFieldsAndReserved) {
    TVOutStatus r = live();
    r.enable = 2;  // any non-zero value matches, and is not copied
    r.outputDevice = 1;
    r.dotCrawl = 4;
    r.flickerFilter = 6;
    r.tvOnly = 1;
    r.contrast = 9;
    r.brightness = 150;
    r.position[0] = {11, 12};
    r.position[1] = {13, 14};
    std::memset(r.reserved, 0x5A, sizeof r.reserved);
    TVOutStatus expected = r;
    expected.enable = live().enable;
    std::memcpy(expected.reserved, live().reserved, sizeof expected.reserved);
    applyLiveSettings(&r);
    EXPECT_EQ(std::memcmp(&live(), &expected, sizeof expected), 0);
    // The encoder got them: output mode 8 for S-video, TV only clears the monitor bit.
    sim::BoardSnapshot b = board();
    EXPECT_EQ(b.encoder[1], 3);
    EXPECT_EQ(b.encoder[29], 12);
    EXPECT_EQ(b.encoder[14], 8);
    EXPECT_EQ(peek(0x210) & 1u, 0u);
}

TEST_F(LiveUpdateTest, NothingChangesUnlessAllConditionsHold) {
    struct Case {
        const char* what;
        void (*spoil)(TVOutStatus& record, TVOutStatus& live);
    };
    const Case cases[] = {
        {"record disabled", [](TVOutStatus& r, TVOutStatus&) { r.enable = 0; }},
        {"live disabled", [](TVOutStatus&, TVOutStatus& l) { l.enable = 0; }},
        {"other resolution", [](TVOutStatus& r, TVOutStatus&) { r.resolution = 8; }},
        {"other scan", [](TVOutStatus& r, TVOutStatus&) { r.underscan = 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TVOutStatus r = changed();
        TVOutStatus before = live();
        c.spoil(r, live());
        before = live();
        clearLog();
        duvuzSetTVOutStatus(&r);
        EXPECT_TRUE(transactions().empty());
        EXPECT_EQ(std::memcmp(&live(), &before, sizeof before), 0);
        live().enable = 1;
    }
}

TEST_F(LiveUpdateTest, AfterOutputOffReprogrammingKeepsItOff) {
    duvuzControl(2);
    writeBoardRegister(0x210, 0x77);
    TVOutStatus r = changed();
    clearLog();
    duvuzSetTVOutStatus(&r);
    expectImageThenOutputMode(0, 9);
    EXPECT_EQ(peek(0x210), 0x77u);
}

TEST_F(LiveUpdateTest, IgnoreSwitchCopiesButWritesNothing) {
    sim::BoardConfig c;
    c.reg0Pattern = "1";
    ASSERT_TRUE(sim::createBoard(0, c));
    setIgnoreSwitch("1");
    TVOutStatus r = changed();
    const uint64_t before = board().accesses;
    applyLiveSettings(&r);
    EXPECT_TRUE(transactions().empty());
    EXPECT_EQ(live().brightness, 200);
    // It still waited on register 0x000 first.
    EXPECT_EQ(board().accesses - before, kRegister0ReadLimit);
}

class LiveUpdateWithoutSectionTest : public DriverStateTest {};

TEST_F(LiveUpdateWithoutSectionTest, SetOnlyStoresSettings) {
    TVOutStatus r{};
    r.resolution = k640x480;
    r.enable = 1;
    r.brightness = 150;
    duvuzSetTVOutStatus(&r);
    EXPECT_EQ(mapSharedBlock(), 0);
    TVOutStatus back{};
    back.resolution = k640x480;
    duvuzGetTVOutStatus(&back);
    EXPECT_EQ(back.brightness, 150);
}

}  // namespace
}  // namespace vext::test
