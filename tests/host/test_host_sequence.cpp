// The host's whole sequence end to end on the simulated board: what the encoder model received
// at each step, what the panel's process changes while the mode is up, and what is traced.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver/encoder.h"
#include "driver/entry_points.h"
#include "driver/settings.h"
#include "driver/shared_block.h"
#include "driver/trace.h"
#include "platform/sim/board.h"
#include "tests/host/board_fixture.h"
#include "tests/host/trace_fixture.h"

namespace vext::test {
namespace {

constexpr uint16_t k640x480 = 7;
const uint32_t kWindow = sim::kBoardWindowAddress[0];

class HostSequenceTest : public DriverStateTest {
  protected:
    void SetUp() override {
        DriverStateTest::SetUp();
        ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
        dir_ = std::make_unique<InTraceDir>(root());
        board_ = knownBoard();
        board_.HWBaseAddr = kWindow;
    }
    void TearDown() override {
        dir_.reset();
        DriverStateTest::TearDown();
    }

    static void storeEnable(uint16_t enable) { writeTVOutSetting(nullptr, "DIZA2_TVOUT", enable); }

    // Map, choose the timing of 640x480 and set the mode, as the host does.
    int32_t setMode640x480() {
        EXPECT_EQ(duvuzInitMapBoard(&board_), 1);
        VideoTimingInfo t = board_.VideoTiming;
        t.ZizarResolution = k640x480;
        duvuzInitVideoTiming(&t);
        return duvuzInitSetVideo(&board_);
    }

    static sim::BoardSnapshot encoderBoard() {
        sim::BoardSnapshot s;
        EXPECT_TRUE(sim::readBoard(0, &s));
        return s;
    }

    static uint32_t boardRegister(uint32_t offset) {
        uint32_t v = 0;
        EXPECT_TRUE(sim::peekBoardRegister(0, offset, &v));
        return v;
    }

    // Runs the panel's side in another process: reads 640x480, changes it, stores it.
    static int panelStores(void (*change)(TVOutStatus&)) {
        return runInChild([change] {
            TVOutStatus s{};
            s.resolution = k640x480;
            duvuzGetTVOutStatus(&s);
            change(s);
            duvuzSetTVOutStatus(&s);
            return true;
        });
    }

    BoardInfo board_{};

  private:
    std::unique_ptr<InTraceDir> dir_;
};

TEST_F(HostSequenceTest, ModeSetProgramsTheEncoderAndSwitchesTVOutputOn) {
    storeEnable(1);
    ASSERT_EQ(setMode640x480(), 1);
    sim::BoardSnapshot s = encoderBoard();
    EXPECT_EQ(s.encoder[0], 121);  // 640x480 overscan display mode
    EXPECT_EQ(s.encoder[7], 142);
    EXPECT_EQ(s.encoder[9], 127);  // default brightness
    EXPECT_EQ(s.encoder[10], 32);  // default overscan position
    EXPECT_EQ(s.encoder[14], 11);  // S-video and composite
    EXPECT_EQ(s.encoder[17], 3);
    EXPECT_EQ(s.protocolErrors, 0u);
    EXPECT_EQ(boardRegister(0x210) & 1u, 1u);
    EXPECT_EQ(boardRegister(0x244) & 0x200000u, 0u);
    const TVOutSharedBlock& block = *sharedBlock();
    EXPECT_EQ(block.regBase, kWindow);
    EXPECT_EQ(block.tvActive, 1u);

    EXPECT_EQ(duvuzControl(2), 1u);
    EXPECT_EQ(encoderBoard().encoder[14], 9);
    EXPECT_EQ(boardRegister(0x210) & 1u, 0u);
    EXPECT_EQ(duvuzControl(1), 1u);
    EXPECT_EQ(encoderBoard().encoder[14], 11);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 1);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 1);
    EXPECT_EQ(encoderBoard().encoder[14], 11);  // restoring leaves TV output as it is
}

TEST_F(HostSequenceTest, DisabledTVOnlyParksTheEncoder) {
    storeEnable(0);
    EXPECT_EQ(setMode640x480(), 0);
    sim::BoardSnapshot s = encoderBoard();
    EXPECT_EQ(s.encoder[14], 12);
    EXPECT_EQ(s.encoderWrites[0], 0u);  // no image
    EXPECT_EQ(sharedBlock()->regBase, kWindow);
    EXPECT_EQ(duvuzControl(1), 0u);
    EXPECT_EQ(duvuzControl(2), 0u);
    EXPECT_EQ(encoderBoard().encoder[14], 12);
    EXPECT_EQ(duvuzRestoreVideo(&board_), 0);
}

TEST_F(HostSequenceTest, PanelChangesBrightnessLiveAndScanModeAsksForANewTiming) {
    storeEnable(1);
    ASSERT_EQ(setMode640x480(), 1);
    ASSERT_EQ(panelStores([](TVOutStatus& s) { s.brightness = 138; }), 0);
    sim::BoardSnapshot s = encoderBoard();
    EXPECT_EQ(s.encoder[9], 138);
    EXPECT_EQ(s.encoder[14], 11);  // the mode stays up
    EXPECT_EQ(s.protocolErrors, 0u);
    EXPECT_EQ(duvuzGetStatus(), 0);

    uint32_t r0Writes = s.encoderWrites[0];
    ASSERT_EQ(panelStores([](TVOutStatus& s) { s.underscan = 1; }), 0);
    EXPECT_EQ(encoderBoard().encoderWrites[0], r0Writes);  // nothing reprogrammed
    EXPECT_EQ(duvuzGetStatus(), 1);
}

TEST_F(HostSequenceTest, SetReappliesTheLiveRecord) {
    storeEnable(1);
    ASSERT_EQ(setMode640x480(), 1);
    sharedBlock()->status.brightness = 150;  // as a live change would leave it
    EXPECT_EQ(duvuzSet(), 0);
    EXPECT_EQ(encoderBoard().encoder[9], 150);
    EXPECT_EQ(readTVOutSetting(0, nullptr, "DIZA2_TVOUT_BRIGHTNESS", 0), 150);
}

TEST_F(HostSequenceTest, ControlTracesExactlyTwoLines) {
    setTraceLevel("80");
    storeEnable(1);
    ASSERT_EQ(setMode640x480(), 1);
    const std::string before = traceFileText();
    const std::string crlfLines = "duvuzControlMode: \r\n\r\n";
    // The mode set traced its own heading and the programming's switch-on.
    EXPECT_NE(before.find("duvuzInitSetVideo: \r\n"), std::string::npos);
    EXPECT_EQ(before.substr(before.size() - crlfLines.size()), crlfLines);
    EXPECT_EQ(duvuzControl(1), 1u);
    EXPECT_EQ(traceFileText(), before + crlfLines);
    EXPECT_EQ(duvuzControl(3), 0u);  // traced before the mode is looked at
    EXPECT_EQ(traceFileText(), before + crlfLines + crlfLines);
}

TEST_F(HostSequenceTest, NullBoardForTheModeSetTouchesNothing) {
    setTraceLevel("80");
    storeEnable(1);
    ASSERT_EQ(setMode640x480(), 1);
    const std::string before = traceFileText();
    uint64_t accesses = encoderBoard().accesses;
    EXPECT_EQ(duvuzInitSetVideo(nullptr), 0);
    EXPECT_EQ(encoderBoard().accesses, accesses);
    EXPECT_EQ(traceFileText(), before);
}

}  // namespace
}  // namespace vext::test
