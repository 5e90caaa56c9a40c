// The encoder bus against the simulated board: what the encoder model received, the result
// words, the acknowledge bound and the line state that every transaction leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The register accesses that a transaction must make, one line operation after another: each a
// read and a write of one register that sets the named bits and keeps all others, or a lone read.
class ExpectedAccesses {
  public:
    struct Step {
        bool write;
        uint32_t offset;
        uint32_t mask;  // bits that the write names
        uint32_t bits;  // their values
        const char* op;
    };

    void prepare() { change(0x244, 0x08000010, 0, "prepare"); }
    void clockLow() { change(0x244, 0x8, 0, "clock low"); }
    void clockHigh() { change(0x244, 0x8, 0x8, "clock high"); }
    void dataLow() { change(0x248, 0x1E00, 0xC00, "data low"); }
    void dataHigh() { change(0x248, 0x1E00, 0xE00, "data high"); }
    void release() { change(0x248, 0x1E00, 0xA00, "release data"); }
    void read(uint32_t offset, const char* op) { steps.push_back({false, offset, 0, 0, op}); }
    void start() {
        dataHigh();
        clockHigh();
        dataHigh();
        dataLow();
    }
    void stop() {
        dataLow();
        clockHigh();
        dataLow();
        dataHigh();
    }
    void byte(uint8_t value) {
        for (int bit = 7; bit >= 0; --bit) {
            clockLow();
            if (((value >> bit) & 1) != 0) {
                dataHigh();
            } else {
                dataLow();
            }
            clockHigh();
        }
    }
    void ack(int senses) {
        clockLow();
        release();
        clockHigh();
        for (int i = 0; i < senses; ++i) {
            read(0x248, "sense data");
        }
        clockLow();
        dataHigh();
    }
    void readByte() {
        release();
        for (int i = 0; i < 8; ++i) {
            clockHigh();
            read(0x248, "read bit");
            clockLow();
        }
        dataHigh();
        clockHigh();
        clockLow();
    }
    void finish() {
        stop();
        read(0x244, "result");
    }

    std::vector<Step> steps;

  private:
    void change(uint32_t offset, uint32_t mask, uint32_t bits, const char* op) {
        steps.push_back({false, offset, 0, 0, op});
        steps.push_back({true, offset, mask, bits, op});
    }
};

void expectAccesses(const std::vector<sim::RegisterAccess>& got, const ExpectedAccesses& want) {
    ASSERT_EQ(got.size(), want.steps.size());
    for (size_t i = 0; i < got.size(); ++i) {
        const ExpectedAccesses::Step& w = want.steps[i];
        const sim::RegisterAccess& g = got[i];
        SCOPED_TRACE(testing::Message() << "access " << i << ": " << w.op);
        ASSERT_EQ(g.write, w.write);
        ASSERT_EQ(g.offset, w.offset);
        if (w.write) {
            ASSERT_EQ(g.value & w.mask, w.bits);
            // Every other bit as the read before it found it.
            ASSERT_EQ(g.value & ~w.mask, got[i - 1].value & ~w.mask);
        }
    }
}

TEST_F(EncoderBusTest, TransactionsMakeExactlyTheLineOperationsInOrder) {
    struct Case {
        const char* what;
        bool read;
        uint32_t nakAt;
        uint32_t code;
    };
    const Case cases[] = {
        {"write", false, 0, kBusDone},
        {"write, register refused", false, 2, kBusNoAckRegister},
        {"read", true, 0, kBusDone},
        {"read, read address refused", true, 3, kBusNoAckThirdByte},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::BoardConfig config;
        config.nakAtByte = c.nakAt;
        configure(config);
        // Bits that no line operation names, which every one of them must keep.
        writeBoardRegister(0x244, readBoardRegister(0x244) | 0x40000040u);
        writeBoardRegister(0x248, 0x00350000u);
        ExpectedAccesses want;
        want.prepare();
        want.start();
        want.byte(0xEC);
        want.ack(1);
        want.byte(16);
        want.ack(c.nakAt == 2 ? kAckPollLimit : 1);
        if (c.nakAt != 2) {
            if (c.read) {
                want.start();
                want.byte(0xED);
                want.ack(c.nakAt == 3 ? kAckPollLimit : 1);
                if (c.nakAt != 3) {
                    want.readByte();
                }
            } else {
                want.byte(0x5A);
                want.ack(1);
            }
        }
        want.finish();
        std::vector<sim::RegisterAccess> got;
        sim::recordRegisterAccesses(&got);
        uint8_t byte = 0;
        const uint32_t word = c.read ? vdoGetDac(0xEC, 16, &byte) : vdoSetDac(0xEC, 16, 0x5A);
        sim::recordRegisterAccesses(nullptr);
        EXPECT_EQ(word & 0xFFFFu, c.code);
        expectAccesses(got, want);
        EXPECT_EQ(board().protocolErrors, 0u) << board().lastProtocolError;
    }
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
