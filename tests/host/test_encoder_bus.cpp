// The encoder bus against the simulated board: what the encoder model received, the result
// words, the acknowledge bound and the line state that every transaction leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "driver/encoder_bus.h"
#include "tests/host/board_fixture.h"

namespace vext::test {
namespace {

class EncoderBusTest : public BoardTest {
  protected:
    void configure(const sim::BoardConfig& config) { ASSERT_TRUE(sim::createBoard(0, config)); }

    // The bus at rest, as every transaction must leave it.
    void expectRestingBus() {
        const uint32_t clock = peek(0x244);
        const uint32_t data = peek(0x248);
        EXPECT_EQ(clock & 0x8u, 0x8u);
        EXPECT_EQ(clock & 0x08000010u, 0u);
        EXPECT_EQ(data & 0x1E00u, 0xE00u);
    }
};

TEST_F(EncoderBusTest, WriteReachesEncoderAndReturnsClockRegisterHighHalf) {
    uint32_t word = vdoSetDac(0xEC, 14, 9);
    EXPECT_EQ(word & 0xFFFFu, kBusDone);
    EXPECT_EQ(word >> 16, peek(0x244) >> 16);
    sim::BoardSnapshot b = board();
    EXPECT_EQ(b.encoder[14], 9);
    ASSERT_EQ(b.transactions.size(), 1u);
    EXPECT_TRUE(b.transactions[0].whole);
    EXPECT_FALSE(b.transactions[0].read);
    EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
    expectRestingBus();
}

TEST_F(EncoderBusTest, OnlyLowEightBitsAreSent) {
    EXPECT_EQ(vdoSetDac(0x1EC, 0x10E, 0x1FF) & 0xFFFFu, kBusDone);
    sim::BoardSnapshot b = board();
    EXPECT_EQ(b.encoder[14], 0xFF);
    ASSERT_EQ(b.transactions.size(), 1u);
    EXPECT_EQ(b.transactions[0].device, 0xEC);
    EXPECT_EQ(b.transactions[0].reg, 14);
}

TEST_F(EncoderBusTest, ReadReturnsRegisterAndOverwritesByte) {
    vdoSetDac(0xEC, 16, 0x5A);
    uint8_t byte = 0xA5;
    uint32_t word = vdoGetDac(0xEC, 16, &byte);
    EXPECT_EQ(word & 0xFFFFu, kBusDone);
    EXPECT_EQ(byte, 0x5A);
    sim::BoardSnapshot b = board();
    ASSERT_EQ(b.transactions.size(), 2u);
    EXPECT_TRUE(b.transactions[1].read);
    EXPECT_TRUE(b.transactions[1].whole);
    EXPECT_EQ(b.transactions[1].readAddress, 0xED);
    EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
    expectRestingBus();
}

TEST_F(EncoderBusTest, MissingDeviceEndsAfterFirstByteAndBoundedPoll) {
    sim::BoardConfig config;
    config.encoderPresent = false;
    configure(config);
    uint8_t byte = 0x77;
    const uint64_t before = board().accesses;
    EXPECT_EQ(vdoSetDac(0xEC, 14, 9) & 0xFFFFu, kBusNoAckDevice);
    // Preparation 2, start 8, one byte 48, the acknowledge clock 10 plus 5000 polls, stop 8,
    // the final read of register 0x244.
    EXPECT_EQ(board().accesses - before, 2u + 8 + 48 + 10 + kAckPollLimit + 8 + 1);
    EXPECT_EQ(vdoGetDac(0xEC, 14, &byte) & 0xFFFFu, kBusNoAckDevice);
    EXPECT_EQ(byte, 0x77);
    sim::BoardSnapshot b = board();
    ASSERT_EQ(b.transactions.size(), 2u);
    for (const sim::EncoderTransaction& t : b.transactions) {
        EXPECT_EQ(t.bytes, 1);
    }
    EXPECT_EQ(b.encoderWrites[14], 0u);
    expectRestingBus();
}

TEST_F(EncoderBusTest, RefusedByteNamesItsCodeAndLaterBytesAreNeverSent) {
    struct Case {
        uint32_t nakAt;
        bool read;
        uint32_t code;
    };
    const Case cases[] = {
        {1, false, kBusNoAckDevice}, {2, false, kBusNoAckRegister}, {3, false, kBusNoAckThirdByte},
        {1, true, kBusNoAckDevice},  {2, true, kBusNoAckRegister},  {3, true, kBusNoAckThirdByte},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "byte " << c.nakAt << (c.read ? " read" : " write"));
        sim::BoardConfig config;
        config.nakAtByte = c.nakAt;
        configure(config);
        uint8_t byte = 0x33;
        uint32_t word = c.read ? vdoGetDac(0xEC, 16, &byte) : vdoSetDac(0xEC, 16, 0x44);
        EXPECT_EQ(word & 0xFFFFu, c.code);
        EXPECT_EQ(byte, 0x33);
        sim::BoardSnapshot b = board();
        ASSERT_EQ(b.transactions.size(), 1u);
        EXPECT_EQ(b.transactions[0].bytes, c.nakAt);
        EXPECT_EQ(b.transactions[0].nakAt, c.nakAt);
        EXPECT_EQ(b.encoderWrites[16], 0u);
        EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
        expectRestingBus();
    }
}

TEST_F(EncoderBusTest, ReadAddressIsDevicePlusOneInEightBits) {
    sim::BoardConfig config;
    config.acknowledgeEverything = true;  // so that the read phase is reached
    configure(config);
    uint8_t byte = 0x11;
    EXPECT_EQ(vdoGetDac(0xFF, 3, &byte) & 0xFFFFu, kBusDone);
    EXPECT_EQ(byte, 0xFF);
    sim::BoardSnapshot b = board();
    ASSERT_EQ(b.transactions.size(), 1u);
    EXPECT_EQ(b.transactions[0].device, 0xFF);
    EXPECT_EQ(b.transactions[0].readAddress, 0x00);
}

TEST_F(EncoderBusTest, WithoutRegisterBaseNothingIsTouched) {
    sharedBlock()->regBase = 0;
    const uint64_t before = board().accesses;
    uint8_t byte = 0x11;
    EXPECT_EQ(vdoSetDac(0xEC, 14, 9), kBusNoAckDevice);
    EXPECT_EQ(vdoGetDac(0xEC, 14, &byte), kBusNoAckDevice);
    EXPECT_EQ(byte, 0x11);
    EXPECT_EQ(board().accesses, before);
}

TEST_F(EncoderBusTest, CaptureHoldsEveryClockEdgeAsVcd) {
    ASSERT_TRUE(sim::clearBoardLog(0));
    vdoSetDac(0xEC, 9, 127);
    const std::string path = root() + "/bus.vcd";
    ASSERT_TRUE(sim::writeBoardCapture(0, path));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string vcd = text.str();
    EXPECT_NE(vcd.find("$var wire 1 ! scl $end"), std::string::npos);
    EXPECT_NE(vcd.find("$var wire 1 \" sda $end"), std::string::npos);
    EXPECT_NE(vcd.find("$enddefinitions $end"), std::string::npos);
    // Eight falls in the first byte, seven in the others (the acknowledge left the clock low),
    // and two around each acknowledge clock.
    size_t falls = 0;
    for (size_t pos = vcd.find("\n0!\n"); pos != std::string::npos;
         pos = vcd.find("\n0!\n", pos + 1)) {
        ++falls;
    }
    EXPECT_EQ(falls, 8u + 7 + 7 + 3 * 2);
}

class BusWithoutSectionTest : public DriverStateTest {};

TEST_F(BusWithoutSectionTest, ReturnsZeroAndTouchesNoRegister) {
    ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
    uint8_t byte = 0x11;
    EXPECT_EQ(vdoSetDac(0xEC, 14, 9), 0u);
    EXPECT_EQ(vdoGetDac(0xEC, 14, &byte), 0u);
    EXPECT_EQ(byte, 0x11);
    sim::BoardSnapshot b;
    ASSERT_TRUE(sim::readBoard(0, &b));
    EXPECT_EQ(b.accesses, 0u);
}

}  // namespace
}  // namespace vext::test
