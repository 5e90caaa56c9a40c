// Two processes on one simulation root: the host's, which sets TV output up and switches it, and
// the settings panel's, which applies settings live. The encoder model tells what reached it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "driver/bus_lock.h"
#include "driver/encoder.h"
#include "driver/live_update.h"
#include "driver/settings.h"
#include "tests/host/board_fixture.h"

namespace vext::test {
namespace {

constexpr uint16_t k640x480 = 7;

class TwoProcessTest : public DriverStateTest {
  protected:
    void SetUp() override {
        DriverStateTest::SetUp();
        ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
    }
    void TearDown() override {
        setBusLockEnabledForTesting(true);
        DriverStateTest::TearDown();
    }

    // The host's steps up to TV output on, at 640x480 in overscan.
    void setUpHost() {
        TVOutStatus stored{};
        stored.resolution = k640x480;
        duvuzGetTVOutStatus(&stored);
        stored.enable = 1;
        duvuzSetTVOutStatus(&stored);
        createSharedBlock();
        ASSERT_NE(sharedBlock(), nullptr);
        TVOutSharedBlock* block = sharedBlock();
        block->tvActive = 0;
        block->status.resolution = k640x480;
        duvuzGetTVOutStatus(&block->status);
        BoardInfo board{};
        board.HWBaseAddr = sim::kBoardWindowAddress[0];
        ASSERT_EQ(setUpTVEncoder(&board), 1);
    }

    sim::BoardSnapshot board() {
        sim::BoardSnapshot s;
        EXPECT_TRUE(sim::readBoard(0, &s));
        return s;
    }

    // The panel's process keeps applying new settings while this one switches the output off
    // and on. Returns the board as the encoder saw it afterwards.
    sim::BoardSnapshot switchWhileChildApplies() {
        int go[2];
        int done[2];
        EXPECT_EQ(pipe(go), 0);
        EXPECT_EQ(pipe(done), 0);
        const TVOutStatus live = sharedBlock()->status;
        pid_t pid = fork();
        if (pid == 0) {
            resetSharedBlockForTesting();
            char c = 0;
            (void)!read(go[0], &c, 1);
            TVOutStatus r = live;
            for (int i = 0; i < 60; ++i) {
                r.brightness = static_cast<uint16_t>(90 + i);
                applyLiveSettings(&r);
                // Some room between changes, as a person's key presses leave.
                timespec pause{0, 300000};
                nanosleep(&pause, nullptr);
            }
            _exit(0);
        }
        (void)!write(go[1], "g", 1);
        int status = 0;
        for (int i = 0; i < 100000 && waitpid(pid, &status, WNOHANG) == 0; ++i) {
            duvuzControl(i % 2 == 0 ? 2 : 1);
            timespec pause{0, 50000};
            nanosleep(&pause, nullptr);
        }
        if (waitpid(pid, &status, 0) == pid) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        for (int fd : {go[0], go[1], done[0], done[1]}) {
            close(fd);
        }
        return board();
    }
};

TEST_F(TwoProcessTest, BrightnessFromSecondProcessReachesEncoder) {
    setUpHost();
    EXPECT_EQ(board().encoder[9], 127);
    // The panel's process: a separate program that stores the record through the driver.
    const std::string cmd = std::string(VEXTSIM_PATH) + " tvout set 640x480 brightness=200";
    ASSERT_EQ(std::system((cmd + " >/dev/null").c_str()), 0);
    sim::BoardSnapshot b = board();
    EXPECT_EQ(b.encoder[9], 200);
    EXPECT_EQ(b.encoder[14], 11);
    EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
    EXPECT_EQ(b.interleavedWrites, 0u);
    EXPECT_EQ(sharedBlock()->status.brightness, 200);
}

TEST_F(TwoProcessTest, WithBusLockEncoderSeesOnlyWholeTransactions) {
    setUpHost();
    ASSERT_TRUE(sim::clearBoardLog(0));
    sim::BoardSnapshot b = switchWhileChildApplies();
    EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
    EXPECT_EQ(b.interleavedWrites, 0u);
    EXPECT_GE(b.transactionCount, 60u * 26u);
    for (const sim::EncoderTransaction& t : b.transactions) {
        EXPECT_TRUE(t.whole);
        EXPECT_EQ(t.device, 0xEC);
    }
}

TEST_F(TwoProcessTest, WithoutBusLockOverlapIsDetected) {
    setUpHost();
    ASSERT_TRUE(sim::clearBoardLog(0));
    setBusLockEnabledForTesting(false);
    sim::BoardSnapshot b = switchWhileChildApplies();
    EXPECT_GT(b.interleavedWrites + b.protocolErrors, 0u);
}

}  // namespace
}  // namespace vext::test
