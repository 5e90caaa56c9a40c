// The simulated encoder as a strict two-wire slave: driven here line by line, without the
// driver, it must take a well-formed transaction and refuse the faults that a master can make, so
// that the driver's tests against it cannot pass on a sequence that real hardware would not take.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/board_window.h"
#include "tests/host/board_fixture.h"

namespace vext::test {
namespace {

// A bus master of its own, built from the register bits alone.
class Master {
  public:
    explicit Master(uint32_t window) : window_(window) {}

    void clockLow() { update(0x244, ~0x8u, 0); }
    void clockHigh() { update(0x244, ~0u, 0x8); }
    void dataLow() { update(0x248, ~0x1200u, 0xC00); }
    void dataHigh() { update(0x248, ~0x1000u, 0xE00); }
    void release() { update(0x248, ~0x1400u, 0xA00); }
    bool lineLow() { return (platform::readRegisterWindow(window_ + 0x248) & 0x200) == 0; }

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
    void bit(bool one) {
        clockLow();
        if (one) {
            dataHigh();
        } else {
            dataLow();
        }
        clockHigh();
    }
    void byte(uint8_t value) {
        for (int i = 7; i >= 0; --i) {
            bit(((value >> i) & 1) != 0);
        }
    }
    bool ack() {
        clockLow();
        release();
        clockHigh();
        bool low = lineLow();
        clockLow();
        dataHigh();
        return low;
    }
    // Eight bits from the device, answered with a not-acknowledge.
    uint8_t readByte() {
        uint8_t v = 0;
        release();
        for (int i = 0; i < 8; ++i) {
            clockHigh();
            v = static_cast<uint8_t>(v << 1 | (lineLow() ? 0 : 1));
            clockLow();
        }
        dataHigh();
        clockHigh();
        clockLow();
        return v;
    }

  private:
    void update(uint32_t offset, uint32_t keep, uint32_t set) {
        const uint32_t v = platform::readRegisterWindow(window_ + offset);
        platform::writeRegisterWindow(window_ + offset, (v & keep) | set);
    }
    uint32_t window_;
};

class EncoderModelTest : public BoardTest {
  protected:
    Master m{sim::kBoardWindowAddress[0]};

    // A register write: start, 0xEC, register, value, stop, with the acknowledge after each
    // byte done by ackStep (the well-formed one by default).
    void writeRegister(uint8_t reg, uint8_t value, const std::function<void(int)>& ackStep = {}) {
        m.start();
        const uint8_t bytes[3] = {0xEC, reg, value};
        for (int i = 0; i < 3; ++i) {
            m.byte(bytes[i]);
            if (ackStep) {
                ackStep(i);
            } else {
                EXPECT_TRUE(m.ack()) << "byte " << i;
            }
        }
        m.stop();
    }

    void expectRefused(const char* what) {
        sim::BoardSnapshot b = board();
        EXPECT_GT(b.protocolErrors, 0u) << what;
    }
};

TEST_F(EncoderModelTest, TakesWellFormedWriteAndRead) {
    writeRegister(9, 0x5A);
    m.start();
    m.byte(0xEC);
    EXPECT_TRUE(m.ack());
    m.byte(9);
    EXPECT_TRUE(m.ack());
    m.start();
    m.byte(0xED);
    EXPECT_TRUE(m.ack());
    EXPECT_EQ(m.readByte(), 0x5A);
    m.stop();
    sim::BoardSnapshot b = board();
    EXPECT_EQ(b.protocolErrors, 0u) << b.lastProtocolError;
    EXPECT_EQ(b.encoder[9], 0x5A);
    ASSERT_EQ(b.transactions.size(), 2u);
    EXPECT_TRUE(b.transactions[0].whole);
    EXPECT_TRUE(b.transactions[1].whole);
    EXPECT_TRUE(b.transactions[1].read);
}

TEST_F(EncoderModelTest, DataChangeWhileClockHighInsideAByteIsRefused) {
    m.start();
    m.byte(0xEC);
    m.ack();
    // Register 0x0F: four low bits, then the data line rises while the clock is high.
    for (int i = 0; i < 4; ++i) {
        m.bit(false);
    }
    m.dataHigh();
    m.clockLow();
    m.clockHigh();
    m.byte(0x77);
    m.ack();
    m.stop();
    expectRefused("data rose with the clock high inside a byte");
}

TEST_F(EncoderModelTest, DataSetAfterTheClockRoseIsRefused) {
    // Each bit: clock low, clock high, then the data: the wrong order.
    m.start();
    for (int i = 7; i >= 0; --i) {
        m.clockLow();
        m.clockHigh();
        if (((0xEC >> i) & 1) != 0) {
            m.dataHigh();
        } else {
            m.dataLow();
        }
    }
    m.ack();
    m.stop();
    expectRefused("data changed after the clock rose");
}

TEST_F(EncoderModelTest, MissingAcknowledgeClockIsRefused) {
    for (int missing = 0; missing < 3; ++missing) {
        SCOPED_TRACE(testing::Message() << "after byte " << missing);
        ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
        writeRegister(9, 0x5A, [&](int i) {
            if (i != missing) {
                m.ack();
                return;
            }
            // The acknowledge without its clock pulse.
            m.clockLow();
            m.release();
            m.lineLow();
            m.dataHigh();
        });
        expectRefused("acknowledge without its clock");
    }
}

TEST_F(EncoderModelTest, DrivingTheDataLineDuringTheDevicesBitIsRefused) {
    // The acknowledge clock with the data line still driven high.
    writeRegister(9, 0x5A, [&](int i) {
        if (i != 1) {
            m.ack();
            return;
        }
        m.clockLow();
        m.dataHigh();
        m.clockHigh();
        m.lineLow();
        m.clockLow();
        m.dataHigh();
    });
    expectRefused("data driven during the acknowledge");

    // A read byte clocked in without releasing the data line first.
    ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
    writeRegister(9, 0x5A);
    m.start();
    m.byte(0xEC);
    m.ack();
    m.byte(9);
    m.ack();
    m.start();
    m.byte(0xED);
    m.ack();
    for (int i = 0; i < 8; ++i) {
        m.clockHigh();
        m.lineLow();
        m.clockLow();
    }
    m.dataHigh();
    m.clockHigh();
    m.clockLow();
    m.stop();
    expectRefused("data driven during a read byte");
}

TEST_F(EncoderModelTest, RepeatedStartOnlyBeforeTheReadPhase) {
    m.start();
    m.byte(0xEC);
    m.ack();
    m.start();
    m.byte(0xED);
    m.ack();
    m.readByte();
    m.stop();
    expectRefused("repeated start after the device address");
}

TEST_F(EncoderModelTest, StopBeforeTheLastByteIsRefused) {
    m.start();
    m.byte(0xEC);
    m.ack();
    m.byte(9);
    m.ack();
    m.stop();
    expectRefused("stop after the register number");
    EXPECT_EQ(board().encoderWrites[9], 0u);
}

}  // namespace
}  // namespace vext::test
